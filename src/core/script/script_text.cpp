#include "script/script_text.h"

#include "util/dos_path.h"

namespace kelvane::script {

std::string quotedText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '%')
            out += '%';
        out += c;
    }
    return out;
}

std::string bareText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '%')
            out += '%';
        else if (c == '^' || c == '&' || c == '|' || c == '<' || c == '>')
            out += '^';
        out += c;
    }
    return out;
}

std::string commandText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    bool quoted = false;
    for (char c : text) {
        if (c == '"')
            quoted = !quoted;
        if (c == '%')
            out += '%';
        else if (!quoted && (c == '^' || c == '&' || c == '|' || c == '<' || c == '>'))
            out += '^';
        out += c;
    }
    return out;
}

std::string mapNameOf(std::string_view mapFile)
{
    return std::string(mapFile.substr(0, mapFile.size() >= 4 ? mapFile.size() - 4 : 0));
}

std::string wadrootLine(std::string_view halfLifeDirectory)
{
    return "SET WADROOT=" + bareText(halfLifeDirectory);
}

std::string toolLine(std::string_view toolsDirectory, std::string_view program,
                     std::string_view parameters, std::string_view mapDirectory,
                     std::string_view mapFile)
{
    return "\"" + quotedText(dos::join(toolsDirectory, program)) + "\"" + std::string(parameters) +
           "\"" + quotedText(dos::join(mapDirectory, mapFile)) + "\"";
}

std::string copyLine(bool chosen, std::string_view mapDirectory, std::string_view mapName,
                     std::string_view modDirectory)
{
    if (!chosen)
        return std::string(kNoCopy);
    const std::string bsp = std::string(mapName) + ".bsp";
    return "copy \"" + quotedText(dos::join(mapDirectory, bsp)) + "\" \"" +
           quotedText(dos::join(modDirectory, "maps\\" + bsp)) + "\"";
}

std::string halfLifeLine(bool chosen, std::string_view halfLifeDirectory, std::string_view modName)
{
    if (!chosen)
        return std::string(kNoHalfLife);
    const bool blank = modName.find(' ') != std::string_view::npos;
    return "\"" + quotedText(dos::join(halfLifeDirectory, "hl.exe")) + "\" -console -game " +
           (blank ? "\"" + quotedText(modName) + "\"" : bareText(modName));
}

std::string shutdownLine(bool chosen, std::string_view notChosen)
{
    return std::string(chosen ? kShutdown : notChosen);
}

std::string joinLines(const std::vector<std::string> &lines)
{
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            out += kLineEnd;
        out += lines[i];
    }
    return out;
}

} // namespace kelvane::script

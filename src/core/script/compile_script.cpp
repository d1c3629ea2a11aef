#include "script/compile_script.h"

#include "util/dos_path.h"

namespace kelvane::script {

namespace {

// The fields of a script, each once, in the order they first go in.
class Fields
{
public:
    void uses(std::string_view name, const std::string &value,
              ScriptField::Kind kind = ScriptField::Kind::Path)
    {
        for (const ScriptField &field : m_fields)
            if (field.name == name)
                return;
        m_fields.push_back({std::string(name), value, kind});
    }
    // A path the script names whole, built from fields: a program needs it shorter than the
    // system's limit.
    void names(std::string path) { m_paths.push_back(std::move(path)); }

    std::vector<ScriptField> takeFields() { return std::move(m_fields); }
    std::vector<std::string> takePaths() { return std::move(m_paths); }

private:
    std::vector<ScriptField> m_fields;
    std::vector<std::string> m_paths;
};

} // namespace

Script compileScript(const Places &places, const std::vector<BlockLine> &block,
                     const AfterCompile &after, std::string_view noShutdown,
                     std::vector<std::string> *blockLines)
{
    Fields fields;
    fields.uses(kHalfLifeDirectoryField, places.halfLifeDirectory);
    std::vector<std::string> lines;
    for (const BlockLine &line : block) {
        const auto *run = std::get_if<ToolRun>(&line);
        if (!run) {
            lines.push_back(std::get<std::string>(line));
            continue;
        }
        fields.uses(kToolsDirectoryField, places.toolsDirectory);
        fields.uses(kMapDirectoryField, places.mapDirectory);
        fields.uses(kMapFileField, places.mapFile);
        if (!run->source.empty())
            fields.uses(run->source, run->parameters, ScriptField::Kind::Parameters);
        fields.names(dos::join(places.toolsDirectory, run->program));
        fields.names(dos::join(places.mapDirectory, places.mapFile));
        lines.push_back(toolLine(places.toolsDirectory, run->program, commandText(run->parameters),
                                 places.mapDirectory, places.mapFile));
    }
    const std::string mapName = mapNameOf(places.mapFile);
    if (after.copyBsp) {
        fields.uses(kMapDirectoryField, places.mapDirectory);
        fields.uses(kMapFileField, places.mapFile);
        fields.uses(kModDirectoryField, places.modDirectory);
        fields.names(dos::join(places.mapDirectory, mapName + ".bsp"));
        fields.names(dos::join(places.modDirectory, "maps\\" + mapName + ".bsp"));
    }
    if (after.startHalfLife) {
        fields.uses(kModNameField, places.modName);
        fields.names(dos::join(places.halfLifeDirectory, "hl.exe"));
    }

    Script script;
    script.text = joinLines({
        std::string(kEchoOff),
        wadrootLine(places.halfLifeDirectory),
        joinLines(lines),
        std::string(kCompileFinished),
        copyLine(after.copyBsp, places.mapDirectory, mapName, places.modDirectory),
        halfLifeLine(after.startHalfLife, places.halfLifeDirectory, places.modName),
        shutdownLine(after.shutdown, noShutdown),
    });
    if (blockLines)
        *blockLines = lines;
    script.fields = fields.takeFields();
    script.paths = fields.takePaths();
    return script;
}

} // namespace kelvane::script

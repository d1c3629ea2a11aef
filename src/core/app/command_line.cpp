#include "app/command_line.h"

#include <algorithm>
#include <array>

namespace kelvane {

namespace {

// The toolkit's own options, which it takes out of the arguments before the windows start;
// those of the first list take the next argument as their value.
constexpr std::array kToolkitOptionsWithValue = {
    "-platform",    "-platformpluginpath", "-platformtheme", "-plugin", "-qwindowgeometry",
    "-qwindowicon", "-qwindowtitle",       "-session",       "-style",  "-stylesheet",
    "-display",     "-geometry",           "-title",         "-name",   "-visual",
};
constexpr std::array kToolkitFlags = {
    "-reverse", "-widgetcount", "-nograb", "-dograb", "-sync", "-graphicssystem",
};

bool isOneOf(std::string_view argument, const auto &options)
{
    return std::find(options.begin(), options.end(), argument) != options.end();
}

// "-style=fusion" and "--style fusion" are the toolkit's too.
std::string_view optionName(std::string_view argument)
{
    if (argument.starts_with("--") && argument.size() > 2)
        argument.remove_prefix(1);
    return argument.substr(0, argument.find('='));
}

} // namespace

CommandLine readCommandLine(const std::vector<std::string> &arguments, std::string_view program,
                            std::string_view version)
{
    const std::string name(program.empty() ? std::string_view("kelvane") : program);
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string &argument = arguments[i];
        if (argument == "--help" || argument == "-h")
            return {CommandLine::Action::Print,
                    "Aufruf: " + name +
                        " [--help | --version]\n"
                        "\n"
                        "Kelvane stellt die Compiler für Half-Life-Karten (HLCSG, HLBSP, HLVIS, "
                        "NETVIS,\n"
                        "HLRAD) in einer Folge von Fenstern ein und schreibt compile.bat, das sie\n"
                        "der Reihe nach startet. Ohne Option öffnet sich das Startfenster.\n"
                        "\n"
                        "  -h, --help     zeigt diese Hilfe und endet\n"
                        "      --version  zeigt die Version und endet\n"
                        "\n"
                        "Die Optionen von Qt (etwa -style oder -platform) gehen an die "
                        "Oberfläche.\n",
                    0};
        if (argument == "--version")
            return {CommandLine::Action::Print, "Kelvane " + std::string(version) + "\n", 0};
        const std::string_view option = optionName(argument);
        if (isOneOf(option, kToolkitFlags))
            continue;
        if (isOneOf(option, kToolkitOptionsWithValue)) {
            if (argument.find('=') == std::string::npos)
                ++i;
            continue;
        }
        return {CommandLine::Action::Refuse,
                name + ": unbekanntes Argument \"" + argument +
                    "\". Kelvane kennt nur --help und --version; ohne Argumente öffnet sich das "
                    "Startfenster.\n",
                2};
    }
    return {};
}

} // namespace kelvane

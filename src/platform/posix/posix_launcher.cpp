#include "platform/posix/posix_launcher.h"

#include "platform/posix/process.h"
#include "util/codepage.h"
#include "util/dos_path.h"

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <locale.h>
#include <optional>

namespace kelvane {

namespace {

const std::string kNoWine =
    "Wine wurde nicht gefunden. Unter Linux laufen compile.bat, die Compiler und andere "
    "Windows-Programme mit Wine; bitte installieren Sie es (unter Debian und Ubuntu mit: sudo "
    "apt install wine).";

std::string terminalNames(const std::vector<TerminalProgram> &terminals)
{
    std::string names;
    for (const auto &t : terminals) {
        if (!names.empty())
            names += ", ";
        names += t.program;
    }
    return names;
}

// A name cmd takes as it stands: no blank, quote or character it would read as an operator.
bool isPlainName(std::string_view name)
{
    if (name.empty())
        return false;
    for (char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
        if (!plain)
            return false;
    }
    return true;
}

// A character Wine cannot put into a Windows path, so it could not start in that directory.
std::optional<char> characterWineRefuses(std::string_view dosPath)
{
    for (std::size_t i = 0; i < dosPath.size(); ++i) {
        const char c = dosPath[i];
        if (static_cast<unsigned char>(c) < 0x20 ||
            std::string_view("\"*<>?|").find(c) != std::string_view::npos || (c == ':' && i != 1))
            return c;
    }
    return std::nullopt;
}

} // namespace

std::vector<TerminalProgram> PosixLauncher::commonTerminals(const char *chosenByUser)
{
    // Each with what it needs before the command, and a size of 120 by 40 characters where it
    // takes one: the compilers write long lines.
    std::vector<TerminalProgram> terminals = {
        {"xdg-terminal-exec", {}},
        {"x-terminal-emulator", {"-T", "Kelvane", "-e"}},
        {"kgx", {"--"}},
        {"ptyxis", {"--new-window", "--"}},
        {"gnome-terminal", {"--geometry=120x40", "--"}},
        {"konsole", {"-p", "TerminalColumns=120", "-p", "TerminalRows=40", "-e"}},
        {"xfce4-terminal", {"--geometry=120x40", "-T", "Kelvane", "-x"}},
        {"mate-terminal", {"--geometry=120x40", "-t", "Kelvane", "-x"}},
        {"tilix", {"--geometry=120x40", "-t", "Kelvane", "-e"}},
        {"qterminal", {"-e"}},
        {"lxterminal", {"--geometry=120x40", "-t", "Kelvane", "-e"}},
        {"alacritty",
         {"-T", "Kelvane", "-o", "window.dimensions.columns=120", "-o",
          "window.dimensions.lines=40", "-e"}},
        {"kitty",
         {"-T", "Kelvane", "-o", "initial_window_width=120c", "-o", "initial_window_height=40c"}},
        {"wezterm", {"--config", "initial_cols=120", "--config", "initial_rows=40", "start", "--"}},
        {"foot", {"-T", "Kelvane", "-W", "120x40"}},
        {"xterm", {"-T", "Kelvane", "-geometry", "120x40", "-e"}},
    };
    // The user's own choice comes first; "-e" is what nearly every terminal takes.
    if (chosenByUser && *chosenByUser)
        terminals.insert(terminals.begin(), {chosenByUser, {"-e"}});
    return terminals;
}

std::vector<TerminalProgram> PosixLauncher::terminalsFromEnvironment()
{
    return commonTerminals(std::getenv("TERMINAL"));
}

std::string PosixLauncher::wineLocale(const char *lcAll, const char *lcCtype, const char *lang)
{
    for (const char *value : {lcAll, lcCtype, lang})
        if (value && *value)
            return value;
    return "C";
}

unsigned PosixLauncher::codePageFromEnvironment()
{
    // Wine sets every category from the environment at once; when one of them names a locale
    // the C library lacks, all stay "C".
    const locale_t available = ::newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0));
    if (!available)
        return codepage::kUnitedStates;
    ::freelocale(available);
    return codepage::oemCodePageOfLocale(
        wineLocale(std::getenv("LC_ALL"), std::getenv("LC_CTYPE"), std::getenv("LANG")));
}

PosixLauncher::PosixLauncher(WineDrives drives, std::vector<TerminalProgram> terminals,
                             std::string wine, unsigned codePage)
    : m_drives(std::move(drives))
    , m_terminals(std::move(terminals))
    , m_wine(std::move(wine))
    , m_codePage(codePage)
{}

Outcome PosixLauncher::startScript(std::string_view dosPath)
{
    const std::string script(dosPath);
    const std::optional<std::string> unixPath = m_drives.toUnix(script);
    if (!unixPath || !std::filesystem::is_regular_file(*unixPath))
        return Failure{"Die Datei \"" + m_drives.shown(script) + "\" wurde nicht gefunden."};
    const std::string name = dos::lastComponent(script);
    if (!isPlainName(name))
        return Failure{"Das Skript \"" + m_drives.shown(script) +
                       "\" kann nicht gestartet werden: Sein Name darf nur aus Buchstaben, "
                       "Ziffern, Punkt, Binde- und Unterstrich bestehen."};
    const std::string directory = dos::parent(script).value_or(script);
    if (const auto refused = characterWineRefuses(directory))
        return Failure{"Wine kann compile.bat im Verzeichnis \"" + m_drives.shown(directory) +
                       "\" nicht starten, weil sein Pfad das Zeichen " + *refused +
                       " enthält, das in Windows-Pfaden nicht erlaubt ist."};

    const std::optional<std::string> wine = findProgram(m_wine);
    if (!wine)
        return Failure{kNoWine};
    Outcome firstFailure;
    for (const TerminalProgram &terminal : m_terminals) {
        const std::optional<std::string> found = findProgram(terminal.program);
        if (!found)
            continue;
        std::vector<std::string> arguments{terminal.program};
        arguments.insert(arguments.end(), terminal.beforeCommand.begin(),
                         terminal.beforeCommand.end());
        arguments.insert(arguments.end(), {*wine, "cmd", "/k", name});
        // A terminal that fails at once (one that needs another kind of session) gives way to
        // the next one installed.
        Outcome failed =
            startDetached(*found, arguments, std::filesystem::path(*unixPath).parent_path(),
                          m_grace, terminal.program);
        if (!failed)
            return std::nullopt;
        if (!firstFailure)
            firstFailure = std::move(failed);
    }
    if (firstFailure)
        return firstFailure;
    return Failure{"Es wurde kein Terminal gefunden, in dem compile.bat laufen kann (gesucht: " +
                   terminalNames(m_terminals) +
                   "). Bitte installieren Sie eines, zum Beispiel xterm (unter Debian und "
                   "Ubuntu mit: sudo apt install xterm)."};
}

Outcome PosixLauncher::startProgram(std::string_view dosPath)
{
    const std::string program(dosPath);
    const std::optional<std::string> unixPath = m_drives.toUnix(program);
    if (!unixPath || !std::filesystem::is_regular_file(*unixPath))
        return Failure{"Die Datei \"" + m_drives.shown(program) + "\" wurde nicht gefunden."};
    const std::optional<std::string> wine = findProgram(m_wine);
    if (!wine)
        return Failure{kNoWine};
    return startDetached(*wine, {m_wine, *unixPath}, std::filesystem::path(*unixPath).parent_path(),
                         m_grace, program);
}

} // namespace kelvane

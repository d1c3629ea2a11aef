#include "platform/posix/posix_launcher.h"

#include "platform/posix/errno_text.h"
#include "util/codepage.h"
#include "util/dos_path.h"

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <locale.h>
#include <optional>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace kelvane {

namespace {

const std::string kNoWine =
    "Wine wurde nicht gefunden. Unter Linux laufen compile.bat, die Compiler und andere "
    "Windows-Programme mit Wine; bitte installieren Sie es (unter Debian und Ubuntu mit: sudo "
    "apt install wine).";

bool isExecutableFile(const std::string &path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

// The file a shell would run for `program`: itself when it names a path, else the first match
// on PATH.
std::optional<std::string> findProgram(const std::string &program)
{
    if (program.empty())
        return std::nullopt;
    if (program.find('/') != std::string::npos)
        return isExecutableFile(program) ? std::optional(program) : std::nullopt;
    const char *pathVariable = std::getenv("PATH");
    const std::string_view path = pathVariable ? pathVariable : "/usr/local/bin:/usr/bin:/bin";
    std::size_t pos = 0;
    while (pos <= path.size()) {
        const std::size_t end = std::min(path.find(':', pos), path.size());
        std::string dir(path.substr(pos, end - pos));
        if (dir.empty())
            dir = ".";
        const std::string candidate = dir + '/' + program;
        if (isExecutableFile(candidate))
            return candidate;
        pos = end + 1;
    }
    return std::nullopt;
}

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

class SpawnSettings
{
public:
    explicit SpawnSettings(const std::string &workingDirectory)
    {
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawnattr_init(&attributes);
        if (!workingDirectory.empty())
            ::posix_spawn_file_actions_addchdir_np(&actions, workingDirectory.c_str());
        // The program reads nothing from us, keeps none of our files open, outlives our own
        // session and starts without our blocked or ignored signals.
        ::posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
        ::posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
#endif
        sigset_t none;
        sigemptyset(&none);
        sigset_t all;
        sigfillset(&all);
        ::posix_spawnattr_setsigmask(&attributes, &none);
        ::posix_spawnattr_setsigdefault(&attributes, &all);
        ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK |
                                                    POSIX_SPAWN_SETSIGDEF);
    }
    ~SpawnSettings()
    {
        ::posix_spawnattr_destroy(&attributes);
        ::posix_spawn_file_actions_destroy(&actions);
    }
    SpawnSettings(const SpawnSettings &) = delete;
    SpawnSettings &operator=(const SpawnSettings &) = delete;

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
};

// Starts a program with exactly these arguments and does not wait for it beyond the grace
// time, in which a program that fails at once is still noticed.
Outcome startDetached(const std::string &path, const std::vector<std::string> &arguments,
                      const std::string &workingDirectory, std::chrono::milliseconds grace,
                      const std::string &shownName)
{
    std::vector<std::string> copies = arguments;
    std::vector<char *> argv;
    for (auto &a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    SpawnSettings settings(workingDirectory);
    pid_t pid = 0;
    const int error = ::posix_spawn(&pid, path.c_str(), &settings.actions, &settings.attributes,
                                    argv.data(), environ);
    if (error != 0)
        return Failure{"Das Programm \"" + shownName +
                       "\" konnte nicht gestartet werden: " + errnoText(error)};

    const auto deadline = std::chrono::steady_clock::now() + grace;
    while (true) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
                return std::nullopt; // handed the work on, as some terminals do, and left
            const std::string how = WIFEXITED(status)
                                        ? "mit dem Status " + std::to_string(WEXITSTATUS(status))
                                        : "durch das Signal " + std::to_string(WTERMSIG(status));
            return Failure{"Das Programm \"" + shownName + "\" hat sich gleich nach dem Start " +
                           how +
                           " beendet. Läuft eine grafische Sitzung, in der es ein Fenster "
                           "öffnen kann?"};
        }
        if (done < 0 && errno != EINTR)
            return std::nullopt; // collected elsewhere; it did start
        if (std::chrono::steady_clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }

    // Collected in the background so that it leaves no zombie and nobody waits for it here.
    try {
        std::thread([pid] {
            while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error &) {
        // No thread left: the finished program stays a zombie until this program ends.
    }
    return std::nullopt;
}

} // namespace

std::vector<TerminalProgram> PosixLauncher::commonTerminals()
{
    return {
        {"x-terminal-emulator", {"-T", "Kelvane", "-e"}},
        {"xterm", {"-T", "Kelvane", "-e"}},
        {"konsole", {"-e"}},
        {"gnome-terminal", {"--"}},
        {"xfce4-terminal", {"-T", "Kelvane", "-x"}},
        {"mate-terminal", {"-t", "Kelvane", "-x"}},
        {"lxterminal", {"-t", "Kelvane", "-e"}},
        {"terminator", {"-T", "Kelvane", "-x"}},
        {"alacritty", {"-T", "Kelvane", "-e"}},
        {"kitty", {"-T", "Kelvane"}},
        {"foot", {"-T", "Kelvane"}},
    };
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
        return Failure{"Die Datei \"" + script + "\" wurde nicht gefunden."};
    const std::string name = dos::lastComponent(script);
    if (!isPlainName(name))
        return Failure{"Das Skript \"" + script +
                       "\" kann nicht gestartet werden: Sein Name darf nur aus Buchstaben, "
                       "Ziffern, Punkt, Binde- und Unterstrich bestehen."};
    const std::string directory = dos::parent(script).value_or(script);
    if (const auto refused = characterWineRefuses(directory))
        return Failure{"Wine kann compile.bat im Verzeichnis \"" + directory +
                       "\" nicht starten, weil sein Pfad das Zeichen " + *refused +
                       " enthält, das in Windows-Pfaden nicht erlaubt ist."};

    const std::optional<std::string> wine = findProgram(m_wine);
    if (!wine)
        return Failure{kNoWine};
    for (const TerminalProgram &terminal : m_terminals) {
        const std::optional<std::string> found = findProgram(terminal.program);
        if (!found)
            continue;
        std::vector<std::string> arguments{terminal.program};
        arguments.insert(arguments.end(), terminal.beforeCommand.begin(),
                         terminal.beforeCommand.end());
        arguments.insert(arguments.end(), {*wine, "cmd", "/k", name});
        return startDetached(*found, arguments, std::filesystem::path(*unixPath).parent_path(),
                             m_grace, terminal.program);
    }
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
        return Failure{"Die Datei \"" + program + "\" wurde nicht gefunden."};
    const std::optional<std::string> wine = findProgram(m_wine);
    if (!wine)
        return Failure{kNoWine};
    return startDetached(*wine, {m_wine, *unixPath}, std::filesystem::path(*unixPath).parent_path(),
                         m_grace, program);
}

} // namespace kelvane

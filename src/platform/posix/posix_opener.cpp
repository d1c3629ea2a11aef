#include "platform/posix/posix_opener.h"

#include "platform/posix/errno_text.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace kelvane {

namespace {

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

class SpawnSettings
{
public:
    SpawnSettings()
    {
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawnattr_init(&attributes);
        // The opener reads nothing from us, keeps none of our files open, and outlives neither
        // our terminal's session nor our blocked or ignored signals.
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

} // namespace

PosixDesktopOpener::PosixDesktopOpener(WineDrives drives, std::string program)
    : m_drives(std::move(drives))
    , m_program(std::move(program))
{}

Outcome PosixDesktopOpener::openDocument(std::string_view dosPath)
{
    const std::optional<std::string> path = m_drives.toUnix(dosPath);
    struct stat st;
    if (!path || ::stat(path->c_str(), &st) != 0)
        return Failure{"Die Datei \"" + std::string(dosPath) + "\" wurde nicht gefunden."};
    return start(*path);
}

Outcome PosixDesktopOpener::openUrl(std::string_view url)
{
    // The opener would take a leading dash for one of its options.
    if (url.empty() || url.front() == '-')
        return Failure{"Die Adresse \"" + std::string(url) + "\" kann nicht geöffnet werden."};
    return start(std::string(url));
}

Outcome PosixDesktopOpener::start(const std::string &argument)
{
    const std::optional<std::string> program = findProgram(m_program);
    if (!program) {
        return Failure{"Das Programm \"" + m_program +
                       "\" wurde nicht gefunden. Es wird gebraucht, um Dokumente und Webseiten "
                       "mit dem Programm zu öffnen, das der Desktop dafür vorsieht."};
    }

    std::string name = m_program;
    std::string arg = argument;
    char *argv[] = {name.data(), arg.data(), nullptr};
    SpawnSettings settings;
    pid_t pid = 0;
    const int error = ::posix_spawn(&pid, program->c_str(), &settings.actions, &settings.attributes,
                                    argv, environ);
    if (error != 0) {
        return Failure{"Das Programm \"" + m_program +
                       "\" konnte nicht gestartet werden: " + errnoText(error)};
    }

    // Collected in the background so that it leaves no zombie and nobody waits for it here.
    // Without a thread to spare it stays a zombie until the program ends, which harms nobody.
    try {
        std::thread([pid] {
            while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error &) {
    }
    return std::nullopt;
}

} // namespace kelvane

#include "platform/posix/process.h"

#include "platform/posix/errno_text.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string_view>
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

// Collected in the background so that it leaves no zombie and nobody waits for it here.
void collectInBackground(pid_t pid)
{
    try {
        std::thread([pid] {
            while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error &) {
        // No thread left: the finished program stays a zombie until this program ends.
    }
}

} // namespace

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

namespace {

// The argument vector posix_spawn takes, pointing into `arguments`, which must outlive it.
std::vector<char *> argvOf(std::vector<std::string> &arguments)
{
    std::vector<char *> argv;
    for (std::string &a : arguments)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    return argv;
}

} // namespace

Outcome startDetached(const std::string &path, const std::vector<std::string> &arguments,
                      const std::string &workingDirectory, std::chrono::milliseconds grace,
                      const std::string &shownName)
{
    std::vector<std::string> copies = arguments;
    const std::vector<char *> argv = argvOf(copies);

    SpawnSettings settings(workingDirectory);
    pid_t pid = 0;
    const int error = ::posix_spawn(&pid, path.c_str(), &settings.actions, &settings.attributes,
                                    argv.data(), environ);
    if (error != 0)
        return Failure{"Das Programm \"" + shownName +
                       "\" konnte nicht gestartet werden: " + errnoText(error)};

    // Looked at until the grace time is over; without one, not at all.
    const auto deadline = std::chrono::steady_clock::now() + grace;
    while (grace > std::chrono::milliseconds::zero()) {
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
    collectInBackground(pid);
    return std::nullopt;
}

std::optional<std::string> outputOf(const std::string &path,
                                    const std::vector<std::string> &arguments,
                                    std::chrono::milliseconds timeout)
{
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
        return std::nullopt;
    std::vector<std::string> copies = arguments;
    const std::vector<char *> argv = argvOf(copies);

    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int error = ::posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    if (error != 0) {
        ::close(pipeEnds[0]);
        return std::nullopt;
    }

    std::string output;
    bool inTime = true;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left <= std::chrono::milliseconds::zero()) {
            inTime = false;
            break;
        }
        pollfd readable{pipeEnds[0], POLLIN, 0};
        const int ready = ::poll(&readable, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0)
            inTime = false;
        if (ready <= 0)
            break;
        char buffer[4096];
        const ssize_t got = ::read(pipeEnds[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        output.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(pipeEnds[0]);
    if (!inTime)
        ::kill(pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!inTime || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return output;
}

} // namespace kelvane

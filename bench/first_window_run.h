#pragma once

// Runs a program that prints "shown" once its first window is painted, as the start-up
// benchmarks' programs do: times the process up to that line, keeps what it printed and its
// peak resident set.

#include <algorithm>
#include <chrono>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace kelvane::bench {

struct ChildRun
{
    bool ok = false;              // started, printed "shown" and ended well
    double shownMilliseconds = 0; // from the start of the process to its "shown" line
    long peakKilobytes = 0;
    std::string output; // everything it printed
};

inline ChildRun runToFirstWindow(const std::string &program)
{
    int out[2];
    if (::pipe(out) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);

    char *argv[] = {const_cast<char *>(program.c_str()), nullptr};
    const auto started = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int spawned = ::posix_spawn(&child, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) {
        ::close(out[0]);
        return {};
    }

    ChildRun run;
    bool shown = false;
    char buffer[256];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) {
        run.output.append(buffer, static_cast<std::size_t>(n));
        if (!shown && run.output.find("shown\n") != std::string::npos) {
            shown = true;
            run.shownMilliseconds = std::chrono::duration<double, std::milli>(
                                        std::chrono::steady_clock::now() - started)
                                        .count();
        }
    }
    ::close(out[0]);

    int status = 0;
    rusage usage{};
    if (::wait4(child, &status, 0, &usage) != child)
        return {};
    run.peakKilobytes = usage.ru_maxrss;
    run.ok = shown && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace kelvane::bench

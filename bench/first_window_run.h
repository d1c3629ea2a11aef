#pragma once

// What the start-up benchmarks share: a fresh home for the program, and a run of a program that
// prints "shown" once its first window is painted, timed up to that line, with what it printed
// and its peak resident set.

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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

// A fresh home for the program under test, in the temporary directory and named after `purpose`
// and this process: settings in which the start window was saved once (so that no first-start
// note holds the program up), and no Wine prefix.
inline std::filesystem::path prepareHome(const std::string &purpose)
{
    namespace fs = std::filesystem;
    const fs::path home =
        fs::temp_directory_path() / ("kelvane-" + purpose + "-" + std::to_string(::getpid()));
    fs::create_directories(home / "config" / "kelvane");
    fs::create_directories(home / "data");
    std::ofstream(home / "config" / "kelvane" / "settings.reg")
        << "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Ostrabel\\Kelvane\\Start]\n"
           "\"csg\"=\"1\"\n\"bsp\"=\"1\"\n\"vis\"=\"1\"\n\"netvis\"=\"0\"\n\"rad\"=\"1\"\n";
    ::setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
    ::setenv("WINEPREFIX", (home / "no-wine").c_str(), 1);
    return home;
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace kelvane::bench

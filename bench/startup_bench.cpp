// Cold start to the first window on screen: the program against a bare Qt dialog, and against
// the same dialog with one line of text, which shows how much of the difference is fonts.
//
// Runs them as separate processes, in turn, and times each from the start of the process
// to the line it prints once its first window is painted; the peak resident set of each run
// comes from wait4(). All run in a fresh settings directory whose start window was saved
// before, so no first-start note holds the program up, and under whatever QT_QPA_PLATFORM the
// caller set (xcb under Xvfb for a real display, offscreen without one).
//
//   kelvane_startup_bench [rounds] [other first-window program]     (default 20 rounds)
//
// The other program, when given (another build's kelvane_startup_first_window), takes its turn
// beside the others, so that two builds are compared in one sitting.

#include "first_window_run.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

using kelvane::bench::median;

struct Run
{
    double milliseconds = 0;
    long peakKilobytes = 0;
    bool ok = false;
};

Run runToFirstWindow(const std::string &program)
{
    const kelvane::bench::ChildRun child = kelvane::bench::runToFirstWindow(program);
    return {child.shownMilliseconds, child.peakKilobytes, child.ok && child.output == "shown\n"};
}

// The program's home, and a few maps in the directory it starts in.
fs::path prepareMapsHome()
{
    const fs::path home = kelvane::bench::prepareHome("startup");
    fs::create_directories(home / "maps");
    for (const char *name : {"boot_camp.map", "crossfire.map", "stalkyard.map"})
        std::ofstream(home / "maps" / name) << "{\n}\n";
    fs::current_path(home / "maps");
    return home;
}

struct Series
{
    const char *name;
    std::string program;
    std::vector<double> milliseconds;
    std::vector<double> megabytes;
};

} // namespace

int main(int argc, char **argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const fs::path home = prepareMapsHome();
    const char *platform = std::getenv("QT_QPA_PLATFORM");

    Series kelvane{"kelvane", KELVANE_FIRST_WINDOW, {}, {}};
    Series bare{"bare Qt dialog", KELVANE_BARE_DIALOG, {}, {}};
    Series text{"dialog + label", KELVANE_TEXT_DIALOG, {}, {}};
    Series other{"other build", argc > 2 ? argv[2] : "", {}, {}};
    std::vector<Series *> order{&kelvane, &bare, &text};
    if (!other.program.empty())
        order.push_back(&other);
    const std::vector<Series *> shown = order;

    // One unmeasured run of each fills the file cache.
    for (Series *s : order) {
        if (!runToFirstWindow(s->program).ok) {
            std::fprintf(stderr, "%s did not show its window\n", s->program.c_str());
            fs::remove_all(home);
            return 1;
        }
    }
    for (int round = 0; round < rounds; ++round) {
        for (Series *s : order) {
            const Run run = runToFirstWindow(s->program);
            if (!run.ok) {
                std::fprintf(stderr, "%s failed in round %d\n", s->name, round + 1);
                continue;
            }
            s->milliseconds.push_back(run.milliseconds);
            s->megabytes.push_back(run.peakKilobytes / 1024.0);
        }
        // Each takes its turn at going first, so that none always follows another.
        std::rotate(order.begin(), order.begin() + 1, order.end());
    }
    fs::remove_all(home);

    std::printf("Start-up to the first painted window, %d rounds, platform %s\n", rounds,
                platform ? platform : "(default)");
    std::printf("%-22s %14s %16s\n", "", "median time", "median peak RSS");
    for (const Series *s : shown)
        std::printf("%-22s %11.1f ms %13.1f MB\n", s->name, median(s->milliseconds),
                    median(s->megabytes));
    const auto ratio = [&](const char *label, const Series &of, const Series &against,
                           const char *note = "") {
        std::printf("%-22s %13.2fx %15.2fx%s\n", label,
                    median(of.milliseconds) / median(against.milliseconds),
                    median(of.megabytes) / median(against.megabytes), note);
    };
    ratio("kelvane / bare", kelvane, bare, "   (goal: at most 1.30x)");
    ratio("kelvane / with label", kelvane, text);
    if (!other.program.empty()) {
        ratio("other / bare", other, bare);
        ratio("other / with label", other, text);
        ratio("kelvane / other", kelvane, other);
    }
    return 0;
}

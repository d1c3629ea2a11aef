// The program started in a folder of many maps against the same program in an empty folder:
// the time to the first painted window, how long the file list then takes to fill, the longest
// time the event loop did not turn meanwhile (the window not answering), and the memory each
// listed entry costs. Both run in turn as processes, like the start-up benchmark, in a fresh
// settings directory whose start window was saved before, under whatever QT_QPA_PLATFORM the
// caller set.
//
//   kelvane_big_folder_bench [rounds] [entries] [maps|directories] [other big-folder program]
//                                 (default 7 rounds of 1,000,000 maps)
//
// With "directories", the folder holds sub-directories instead of maps, and the directory list
// beside the file list is watched. The other program, when given (another build's
// kelvane_big_folder_window), takes its turn beside the others. KELVANE_BIG_FOLDER names a
// folder to keep the entries in between runs; it is filled once and left in place.

#include "first_window_run.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Run
{
    bool ok = false;
    double shown = 0;   // ms from the start of the process
    double filled = 0;  // ms from the first paint until the file list is full
    double longest = 0; // ms, the longest the event loop did not turn after the first paint
    double residentMegabytes = 0;
    double peakMegabytes = 0;
};

bool directories = false; // the folder holds sub-directories rather than maps

Run runIn(const std::string &program, const fs::path &folder, int expected)
{
    ::setenv("KELVANE_EXPECTED_ROWS", std::to_string(expected).c_str(), 1);
    ::setenv("KELVANE_WATCHED_LIST", directories ? "MAPDir" : "MAPFile", 1);
    fs::current_path(folder);
    const kelvane::bench::ChildRun child = kelvane::bench::runToFirstWindow(program);
    Run run;
    run.shown = child.shownMilliseconds;
    run.peakMegabytes = child.peakKilobytes / 1024.0;
    long rss = 0;
    int rows = 0;
    const auto at = child.output.find("filled ");
    run.ok = child.ok && at != std::string::npos &&
             std::sscanf(child.output.c_str() + at, "filled %lf longest %lf rss %ld rows %d",
                         &run.filled, &run.longest, &rss, &rows) == 4;
    run.residentMegabytes = rss / 1024.0;
    return run;
}

using kelvane::bench::median;

std::string entryName(int i)
{
    char name[32];
    std::snprintf(name, sizeof name, directories ? "dir_%07d" : "map_%07d.map", i);
    return name;
}

// Empty maps or directories, made in a scrambled order so that the directory does not hand
// them out sorted.
void fill(const fs::path &folder, int entries)
{
    fs::create_directories(folder);
    // Kept beside the folder, so that the folder holds the entries alone.
    const std::string marker = folder.string() + ".complete-" +
                               (directories ? "directories-" : "maps-") + std::to_string(entries);
    if (fs::exists(marker))
        return;
    std::fprintf(stderr, "making %d entries in %s ...\n", entries, folder.c_str());
    const long prime = 7919;
    for (long i = 0; i < entries; ++i) {
        const std::string path =
            (folder / entryName(static_cast<int>(i * prime % entries))).string();
        if (directories) {
            ::mkdir(path.c_str(), 0755);
            continue;
        }
        const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        if (fd >= 0)
            ::close(fd);
    }
    std::ofstream{marker};
}

struct Series
{
    const char *name;
    std::string program;
    fs::path folder;
    int expected;
    std::vector<Run> runs;

    std::vector<double> of(double Run::*field) const
    {
        std::vector<double> values;
        for (const Run &run : runs)
            values.push_back(run.*field);
        return values;
    }
};

} // namespace

int main(int argc, char **argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const int entries = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1'000'000;
    const std::string kind = argc > 3 ? argv[3] : "maps";
    if (kind != "maps" && kind != "directories") {
        std::fprintf(stderr, "the kind of entry is \"maps\" or \"directories\", not \"%s\"\n",
                     kind.c_str());
        return 2;
    }
    directories = kind == "directories";
    const std::string other = argc > 4 ? argv[4] : "";

    const fs::path home = kelvane::bench::prepareHome("big-folder");
    fs::create_directories(home / "empty");
    const char *kept = std::getenv("KELVANE_BIG_FOLDER");
    const fs::path big = (kept && *kept ? fs::path(kept) : home / "big") / kind;
    fill(big, entries);

    std::vector<Series> series{{"empty folder", KELVANE_BIG_FOLDER_WINDOW, home / "empty", 0, {}},
                               {"big folder", KELVANE_BIG_FOLDER_WINDOW, big, entries, {}}};
    if (!other.empty()) {
        series.push_back({"other, empty folder", other, home / "empty", 0, {}});
        series.push_back({"other, big folder", other, big, entries, {}});
    }
    std::vector<Series *> order;
    for (Series &s : series)
        order.push_back(&s);
    for (Series *s : order)
        runIn(s->program, s->folder, s->expected); // fills the file cache
    for (int round = 0; round < rounds; ++round) {
        for (Series *s : order) {
            const Run run = runIn(s->program, s->folder, s->expected);
            if (run.ok)
                s->runs.push_back(run);
            else
                std::fprintf(stderr, "%s failed in round %d\n", s->name, round + 1);
        }
        std::rotate(order.begin(), order.begin() + 1, order.end());
    }
    fs::current_path(home);
    if (!kept || !*kept)
        fs::remove_all(big);
    fs::remove_all(home);

    std::printf("A folder of %d %s against an empty one, %d rounds, platform %s (medians)\n",
                entries, directories ? "directories" : "maps", rounds,
                std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "(default)");
    std::printf("%-22s %10s %10s %14s %10s %10s\n", "", "shown", "filled", "longest stall", "RSS",
                "peak RSS");
    for (const Series &s : series)
        std::printf("%-22s %7.1f ms %7.1f ms %11.1f ms %7.1f MB %7.1f MB\n", s.name,
                    median(s.of(&Run::shown)), median(s.of(&Run::filled)),
                    median(s.of(&Run::longest)), median(s.of(&Run::residentMegabytes)),
                    median(s.of(&Run::peakMegabytes)));
    for (std::size_t i = 0; i + 1 < series.size(); i += 2) {
        const Series &empty = series[i];
        const Series &full = series[i + 1];
        const auto perEntry = [&](double Run::*field) {
            return (median(full.of(field)) - median(empty.of(field))) * 1024 * 1024 / entries;
        };
        std::printf("%-22s shown %+.1f ms later (goal: within 100 ms), longest stall %.1f ms "
                    "(goal: at most 50 ms), %.0f bytes per entry once filled, %.0f at the "
                    "peak; a name is %zu bytes\n",
                    full.name, median(full.of(&Run::shown)) - median(empty.of(&Run::shown)),
                    median(full.of(&Run::longest)), perEntry(&Run::residentMegabytes),
                    perEntry(&Run::peakMegabytes), entryName(0).size());
    }
    return 0;
}

// The program started in a big folder: prints "shown" once its first window is painted, then
// watches the event loop until the start window's list named in KELVANE_WATCHED_LIST (the file
// list, else the directory list) holds at least the number of rows given in
// KELVANE_EXPECTED_ROWS, and one second longer while the list lays out and paints them. Prints
// how long the filling took, the longest the loop did not turn in all that time, and the
// resident memory at the end.
#include "ui/application.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QListView>
#include <QPointer>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point then)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - then).count();
}

long residentKilobytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

// The rows of the watched list; the list is looked for once.
int watchedRows()
{
    static QPointer<QListView> found;
    static const char *name = std::getenv("KELVANE_WATCHED_LIST");
    for (QWidget *window : found ? QWidgetList() : QApplication::topLevelWidgets()) {
        if (auto *list = window->findChild<QListView *>(QString::fromUtf8(name ? name : "MAPFile")))
            found = list;
    }
    return found && found->model() ? found->model()->rowCount() : -1;
}

} // namespace

int main(int argc, char **argv)
{
    const char *wanted = std::getenv("KELVANE_EXPECTED_ROWS");
    const int expected = wanted ? std::atoi(wanted) : 0;
    return kelvane::runKelvane(argc, argv, [expected] {
        std::puts("shown");
        std::fflush(stdout);
        const Clock::time_point shown = Clock::now();
        auto *turn = new QTimer(qApp);
        turn->setInterval(0);
        auto last = std::make_shared<Clock::time_point>(shown);
        auto longest = std::make_shared<double>(0);
        auto filled = std::make_shared<double>(-1);
        QObject::connect(turn, &QTimer::timeout, qApp, [=] {
            *longest = std::max(*longest, millisecondsSince(*last));
            *last = Clock::now();
            if (*filled < 0 && watchedRows() >= expected)
                *filled = millisecondsSince(shown);
            const bool done = *filled >= 0 && millisecondsSince(shown) > *filled + 1000;
            if (done || millisecondsSince(shown) > 120'000) {
                std::printf("filled %.2f longest %.2f rss %ld rows %d\n", *filled, *longest,
                            residentKilobytes(), watchedRows());
                std::fflush(stdout);
                QCoreApplication::exit(done ? 0 : 1);
            }
        });
        turn->start();
    });
}

// The program's own start-up, ended as soon as its first window is painted: prints one line
// for the start-up benchmark, which times the process up to that line.
#include "ui/application.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    return kelvane::runKelvane(argc, argv, [] {
        std::puts("shown");
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
}

#include "app/command_line.h"
#include "ui/application.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char **argv)
{
    // Read before the toolkit starts, so that --help and --version need no display.
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::string program = argc > 0 ? argv[0] : "";
    program.erase(0, program.find_last_of("/\\") + 1); // the name without its directory
    const kelvane::CommandLine line = kelvane::readCommandLine(arguments, program, KELVANE_VERSION);
    switch (line.action) {
    case kelvane::CommandLine::Action::Print:
        std::fputs(line.text.c_str(), stdout);
        return line.exitCode;
    case kelvane::CommandLine::Action::Refuse:
        std::fputs(line.text.c_str(), stderr);
        return line.exitCode;
    case kelvane::CommandLine::Action::Run:
        break;
    }
    return kelvane::runKelvane(argc, argv);
}

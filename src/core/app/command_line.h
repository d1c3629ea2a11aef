#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

// What the program does with the arguments it was started with: it takes no options of its own
// besides --help and --version; the toolkit's options (-style, -platform, …) go on to it.
struct CommandLine
{
    enum class Action {
        Run,   // show the windows
        Print, // write `text` to standard output and end with `exitCode`
        Refuse // write `text` to standard error and end with `exitCode`
    };

    Action action = Action::Run;
    std::string text;
    int exitCode = 0;
};

// arguments: without the program's own name; program: the name it was started under.
CommandLine readCommandLine(const std::vector<std::string> &arguments, std::string_view program,
                            std::string_view version);

} // namespace kelvane

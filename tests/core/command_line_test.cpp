#include "app/command_line.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using Action = CommandLine::Action;

TEST(CommandLineTest, HelpAndVersionPrintUnknownArgumentsAreRefusedTheToolkitsPassOn)
{
    const struct
    {
        std::vector<std::string> arguments;
        Action action;
        int exitCode;
        std::string startOfText;
    } rows[] = {
        {{}, Action::Run, 0, ""},
        // What --help and --version print is the install test's.
        // The first of several decides.
        {{"--version", "--bogus"}, Action::Print, 0, "Kelvane 2.7\n"},
        {{"--bogus", "--version"}, Action::Refuse, 2, "kelvane: unbekanntes Argument \"--bogus\""},
        // The toolkit's options, with their values in either form.
        {{"-style=fusion", "--reverse", "-platform", "xcb"}, Action::Run, 0, ""},
        {{"-style", "--help"}, Action::Run, 0, ""},
        {{"-style", "fusion", "--version"}, Action::Print, 0, "Kelvane 2.7\n"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.arguments));
        const CommandLine line = readCommandLine(row.arguments, "kelvane", "2.7");
        EXPECT_EQ(line.action, row.action);
        EXPECT_EQ(line.exitCode, row.exitCode);
        EXPECT_TRUE(line.text.starts_with(row.startOfText)) << line.text;
        EXPECT_EQ(line.text.empty(), row.action == Action::Run);
    }
}

} // namespace
} // namespace kelvane

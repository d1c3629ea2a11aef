#include "platform/temp_dir.h"
#include "platform/win32/win32_launcher.h"
#include "platform/win32/win32_opener.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using test::messageOf;

// Starting a script for real is the script run's business; here, what keeps a start from
// happening.
TEST(Win32LauncherTest, SaysWhyItCannotStartOrOpen)
{
    test::TempDir temp;
    Win32ProgramLauncher launcher;
    Win32DesktopOpener opener;
    const std::string notThere = "\" konnte nicht gestartet werden: Die Datei ist nicht vorhanden.";
    std::vector<std::pair<Outcome, std::string>> rows = {
        {launcher.startProgram(temp / "fehlt.exe"),
         "Das Programm \"" + temp / "fehlt.exe" + notThere},
        {launcher.startScript(temp / "compile.bat"),
         "Das Skript \"" + temp / "compile.bat" + notThere},
        {opener.openDocument(temp / "deutsch.chm"),
         "Die Datei \"" + temp / "deutsch.chm" +
             "\" konnte nicht geöffnet werden: Die Datei ist nicht vorhanden."},
    };
    // Only web and mail addresses are opened, never a program.
    for (const std::string url : {"", "C:\\Windows\\notepad.exe", "1http:x"})
        rows.emplace_back(opener.openUrl(url), "Die Adresse \"" + url +
                                                   "\" konnte nicht geöffnet werden: Sie ist "
                                                   "keine Web- oder Mail-Adresse.");
    for (const auto &[outcome, message] : rows)
        EXPECT_EQ(messageOf(outcome), message);
}

} // namespace
} // namespace kelvane

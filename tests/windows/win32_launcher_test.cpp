#include "platform/win32/win32_launcher.h"
#include "platform/win32/win32_opener.h"
#include "windows/stub_tool.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using test::messageOf;

// The stub tool logs each start and signals an event when done; the test waits for that.
class Win32LauncherTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const std::wstring event = L"kelvane-stub-" + std::to_wstring(::GetCurrentProcessId());
        done = ::CreateEventW(nullptr, FALSE, FALSE, event.c_str());
        ASSERT_NE(done, nullptr);
        ::SetEnvironmentVariableW(L"KELVANE_STUB_EVENT", event.c_str());
        ::SetEnvironmentVariableW(L"KELVANE_STUB_LOG", win32::widen(log).c_str());
    }
    void TearDown() override
    {
        ::SetEnvironmentVariableW(L"KELVANE_STUB_EVENT", nullptr);
        ::SetEnvironmentVariableW(L"KELVANE_STUB_LOG", nullptr);
        ::CloseHandle(done);
    }

    std::string logWhenDone()
    {
        return ::WaitForSingleObject(done, 30000) == WAIT_OBJECT_0
                   ? test::readBytes(log).value_or("")
                   : "";
    }

    test::TempDir temp;
    const std::string log = temp / "stub.log";
    HANDLE done = nullptr;
    Win32ProgramLauncher launcher;
};

// The interpreter may still be in the script's directory when the test ends, so that
// directory can outlive the test; it is in the run's own Wine prefix.
TEST_F(Win32LauncherTest, StartsProgramsAndScriptsInTheirOwnDirectory)
{
    const std::string tool = temp / "Mein Tool.exe";
    test::installStub(tool);
    EXPECT_FALSE(launcher.startProgram(tool));
    const std::string programRun = logWhenDone();
    EXPECT_TRUE(programRun.starts_with("program Mein Tool.exe\ncommandline ")) << programRun;
    EXPECT_EQ(programRun.find("\narg "), std::string::npos) << programRun;

    test::makeDirectory(temp / "Skript Ördner");
    const std::string script = temp / "Skript Ördner\\compile.bat";
    const std::string line = "\"" + tool + "\" eins \"zwei drei\"";
    const std::optional<std::string> text =
        win32::toCodePage("@echo off\r\n" + line, launcher.scriptCodePage());
    ASSERT_TRUE(text);
    test::writeBytes(script, *text);
    EXPECT_FALSE(launcher.startScript(script));
    EXPECT_EQ(logWhenDone(), programRun + "program Mein Tool.exe\ncommandline " + line +
                                 "\narg eins\narg zwei drei\ncwd " + temp / "Skript Ördner" +
                                 "\nend\n");
}

TEST_F(Win32LauncherTest, SaysWhyItCannotStartOrOpen)
{
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

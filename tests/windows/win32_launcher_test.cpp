#include "platform/win32/win32_launcher.h"
#include "platform/win32/win32_opener.h"
#include "platform/win32/win32_text.h"
#include "windows/stub_log.h"
#include "windows/temp_directory.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using testing::installStub;
using testing::readStubLog;
using testing::StubRun;
using testing::TempDirectory;
using testing::writeBytes;

// Starts of the stub tool come back through its log and an event it signals when done, so the
// test waits for exactly that and not a moment longer.
class Win32ProgramLauncherTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        static unsigned counter = 0;
        const std::wstring event = L"kelvane-stub-" + std::to_wstring(::GetCurrentProcessId()) +
                                   L"-" + std::to_wstring(++counter);
        done = ::CreateEventW(nullptr, TRUE, FALSE, event.c_str());
        ASSERT_NE(done, nullptr);
        ::SetEnvironmentVariableW(L"KELVANE_STUB_EVENT", event.c_str());
        ::SetEnvironmentVariableW(L"KELVANE_STUB_LOG", win32::widen(log).c_str());
    }
    void TearDown() override
    {
        ::SetEnvironmentVariableW(L"KELVANE_STUB_EVENT", nullptr);
        ::SetEnvironmentVariableW(L"KELVANE_STUB_LOG", nullptr);
        if (done)
            ::CloseHandle(done);
    }

    // The runs of the stub once it has signalled; none when it does not within a generous
    // time.
    std::vector<StubRun> runsWhenDone()
    {
        if (::WaitForSingleObject(done, 30000) != WAIT_OBJECT_0)
            return {};
        return readStubLog(log);
    }

    TempDirectory temp;
    const std::string log = temp / "stub.log";
    HANDLE done = nullptr;
    Win32ProgramLauncher launcher;
};

TEST_F(Win32ProgramLauncherTest, StartsAProgram)
{
    const std::string program = temp / "Mein Tool.exe";
    ASSERT_TRUE(installStub(program));
    EXPECT_FALSE(launcher.startProgram(program));
    const std::vector<StubRun> runs = runsWhenDone();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].program, "Mein Tool.exe");
    EXPECT_TRUE(runs[0].arguments.empty());
}

// The interpreter may still be in the script's directory when the test ends, so that
// directory can outlive the test; it is in the run's own Wine prefix.
TEST_F(Win32ProgramLauncherTest, StartsAScriptInItsOwnDirectory)
{
    ASSERT_TRUE(testing::makeDirectory(temp / "Skript Ördner"));
    const std::string tool = temp / "Werkzeug.exe";
    ASSERT_TRUE(installStub(tool));
    const std::string script = temp / "Skript Ördner\\compile.bat";
    const std::optional<std::string> text = win32::toCodePage(
        "@echo off\r\n\"" + tool + "\" eins \"zwei drei\"", launcher.scriptCodePage());
    ASSERT_TRUE(text);
    ASSERT_TRUE(writeBytes(script, *text));
    EXPECT_FALSE(launcher.startScript(script));
    const std::vector<StubRun> runs = runsWhenDone();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].arguments, (std::vector<std::string>{"eins", "zwei drei"}));
    EXPECT_EQ(runs[0].workingDirectory, temp / "Skript Ördner");
}

TEST_F(Win32ProgramLauncherTest, MissingProgramIsReportedWithThePath)
{
    const std::string program = temp / "fehlt.exe";
    const Outcome failure = launcher.startProgram(program);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message, "Das Programm \"" + program +
                                    "\" konnte nicht gestartet werden: Die Datei ist nicht "
                                    "vorhanden.");
}

TEST_F(Win32ProgramLauncherTest, MissingScriptIsReportedWithThePath)
{
    const std::string script = temp / "compile.bat";
    const Outcome failure = launcher.startScript(script);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message, "Das Skript \"" + script +
                                    "\" konnte nicht gestartet werden: Die Datei ist nicht "
                                    "vorhanden.");
}

TEST(Win32DesktopOpenerTest, OpensOnlyAddressesWithAScheme)
{
    Win32DesktopOpener opener;
    for (const std::string url : {"", "C:\\Windows\\notepad.exe", "notepad", "c:x", "1http:x"}) {
        const Outcome failure = opener.openUrl(url);
        ASSERT_TRUE(failure) << url;
        EXPECT_EQ(failure->message, "Die Adresse \"" + url +
                                        "\" konnte nicht geöffnet werden: Sie ist keine Web- "
                                        "oder Mail-Adresse.");
    }
}

TEST(Win32DesktopOpenerTest, MissingDocumentIsReportedWithThePath)
{
    TempDirectory temp;
    Win32DesktopOpener opener;
    const Outcome failure = opener.openDocument(temp / "deutsch.chm");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message, "Die Datei \"" + (temp / "deutsch.chm") +
                                    "\" konnte nicht geöffnet werden: Die Datei ist nicht "
                                    "vorhanden.");
}

} // namespace
} // namespace kelvane

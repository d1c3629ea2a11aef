#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_program.h"
#include "platform/win32/win32_text.h"
#include "util/dos_path.h"
#include "windows/temp_directory.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using testing::TempDirectory;

// Sets an environment variable for the length of a test.
class ScopedVariable
{
public:
    ScopedVariable(const wchar_t *name, const std::wstring &value)
        : m_name(name)
    {
        wchar_t old[4096] = {};
        const DWORD length = ::GetEnvironmentVariableW(name, old, 4096);
        m_had = length > 0 && length < 4096;
        m_old.assign(old, m_had ? length : 0);
        ::SetEnvironmentVariableW(name, value.c_str());
    }
    ~ScopedVariable() { ::SetEnvironmentVariableW(m_name, m_had ? m_old.c_str() : nullptr); }
    ScopedVariable(const ScopedVariable &) = delete;
    ScopedVariable &operator=(const ScopedVariable &) = delete;

private:
    const wchar_t *m_name;
    bool m_had = false;
    std::wstring m_old;
};

TEST(Win32ProgramInfoTest, ProgramDirectoryHoldsTheRunningProgram)
{
    Win32ProgramInfo program;
    const std::string directory = program.programDirectory();
    ASSERT_TRUE(dos::driveOf(directory)) << directory;
    EXPECT_TRUE(directory.size() == 3 || directory.back() != '\\') << directory;
    Win32FileSystem files;
    EXPECT_TRUE(files.fileExists(dos::join(directory, "kelvane_windows_tests.exe"))) << directory;
}

TEST(Win32ProgramInfoTest, UserDataDirectoryIsMadeBelowLocalAppData)
{
    TempDirectory temp;
    const std::string appData = temp / "Lokal Ä\\Daten";
    ScopedVariable variable(L"LOCALAPPDATA", win32::widen(appData));
    Win32ProgramInfo program;
    EXPECT_EQ(program.userDataDirectory(), appData + "\\Kelvane");
    Win32FileSystem files;
    EXPECT_TRUE(files.directoryExists(appData + "\\Kelvane"));
    // A second call finds it there.
    EXPECT_EQ(program.userDataDirectory(), appData + "\\Kelvane");
}

TEST(Win32ProgramInfoTest, UnusableLocalAppDataGivesNoDirectory)
{
    TempDirectory temp;
    ASSERT_TRUE(testing::writeBytes(temp / "eine Datei", ""));
    ScopedVariable variable(L"LOCALAPPDATA", win32::widen(temp / "eine Datei"));
    Win32ProgramInfo program;
    EXPECT_EQ(program.userDataDirectory(), "");
}

} // namespace
} // namespace kelvane

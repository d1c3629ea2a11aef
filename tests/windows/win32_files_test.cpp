// Files, directories and the program's places on the real file system, below a directory
// whose name has a blank and an umlaut.

#include "platform/temp_dir.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_program.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_text_file.h"
#include "util/dos_path.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using namespace std::string_literals;
using test::messageOf;
using test::readBytes;
using test::writeBytes;
using Names = std::vector<std::string>;

class Win32FilesTest : public ::testing::Test
{
protected:
    test::TempDir temp;
    Win32FileSystem files;
};

// Names with blanks and umlauts are listed in the script run.
TEST_F(Win32FilesTest, ListsDirectoriesAndFilesApartWithoutHiddenOnes)
{
    for (const char *name : {"Karten", "versteckt"})
        test::makeDirectory(temp / name);
    for (const char *name : {"test.map", "geheim.map"})
        writeBytes(temp / name, "{}");
    for (const char *name : {"versteckt", "geheim.map"})
        ::SetFileAttributesW(win32::widen(temp / name).c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(files.canRead(temp.path()));
    const FolderContents listed = files.contents(temp.path());
    EXPECT_EQ(listed.directories, Names{"Karten"});
    EXPECT_EQ(listed.files, Names{"test.map"});
    const std::string missing = temp / "fehlt";
    EXPECT_EQ(messageOf(files.contents(missing).failure),
              "Das Verzeichnis \"" + missing +
                  "\" kann nicht gelesen werden: Der Pfad ist nicht vorhanden.");
}

TEST_F(Win32FilesTest, TheWriterReplacesTheFileWholeOrSaysWhy)
{
    Win32TextFileWriter writer;
    const std::string path = temp / "alt.bat";
    const std::string bytes = "@echo off\r\nSET WADROOT=C:\\Spiele\\Gr\x94\xE1"
                              "e\r\n\x1A\0x"s;
    writeBytes(path, std::string(5000, 'x'));
    EXPECT_FALSE(writer.writeFile(path, bytes));
    EXPECT_EQ(readBytes(path), bytes);
    test::makeDirectory(temp / "compile.bat");
    const std::pair<std::string, std::string> failures[] = {
        {temp / "fehlt\\compile.bat", "Der Pfad ist nicht vorhanden."},
        {temp / "compile.bat", "Unter diesem Namen gibt es bereits ein Verzeichnis."},
    };
    for (const auto &[target, reason] : failures)
        EXPECT_EQ(messageOf(writer.writeFile(target, "x")),
                  "Die Datei \"" + target + "\" konnte nicht geschrieben werden: " + reason);
    EXPECT_EQ(files.contents(temp.path()).files, Names{"alt.bat"});
    EXPECT_TRUE(files.directoryExists(temp / "compile.bat"));
}

TEST_F(Win32FilesTest, TheProgramsDirectoriesAreWhereTheyBelong)
{
    const std::string directory = Win32ProgramInfo().programDirectory();
    EXPECT_TRUE(files.fileExists(dos::join(directory, "kelvane_windows_tests.exe"))) << directory;

    // The user's directory is made below LOCALAPPDATA, or is none when it cannot be.
    const wchar_t *old = ::_wgetenv(L"LOCALAPPDATA");
    const std::wstring localAppData = old ? old : L"";
    writeBytes(temp / "eine Datei", "");
    ::_wputenv_s(L"LOCALAPPDATA", win32::widen(temp / "Lokal Ä\\Daten").c_str());
    EXPECT_EQ(Win32ProgramInfo().userDataDirectory(), temp / "Lokal Ä\\Daten\\Kelvane");
    EXPECT_TRUE(files.directoryExists(temp / "Lokal Ä\\Daten\\Kelvane"));
    ::_wputenv_s(L"LOCALAPPDATA", win32::widen(temp / "eine Datei").c_str());
    EXPECT_EQ(Win32ProgramInfo().userDataDirectory(), "");
    ::_wputenv_s(L"LOCALAPPDATA", localAppData.c_str());
}

} // namespace
} // namespace kelvane

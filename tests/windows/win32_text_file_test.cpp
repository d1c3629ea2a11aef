#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_text_file.h"
#include "windows/temp_directory.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using namespace std::string_literals;

using testing::makeDirectory;
using testing::readBytes;
using testing::TempDirectory;
using testing::writeBytes;

class Win32TextFileWriterTest : public ::testing::Test
{
protected:
    TempDirectory temp;
    Win32TextFileWriter writer;
};

TEST_F(Win32TextFileWriterTest, FileHoldsExactlyTheBytes)
{
    const std::string path = temp / "compile.bat";
    const std::string bytes = "@echo off\r\nSET WADROOT=C:\\Spiele\\Gr\x94\xE1"
                              "e\r\n\x1A\0x"s;
    EXPECT_FALSE(writer.writeFile(path, bytes));
    EXPECT_EQ(readBytes(path), bytes);
}

TEST_F(Win32TextFileWriterTest, ShorterTextReplacesTheFileWhole)
{
    const std::string path = temp / "compile.bat";
    ASSERT_TRUE(writeBytes(path, std::string(5000, 'x')));
    EXPECT_FALSE(writer.writeFile(path, "kurz"));
    EXPECT_EQ(readBytes(path), "kurz");
}

TEST_F(Win32TextFileWriterTest, LeavesNoOtherFileBehind)
{
    EXPECT_FALSE(writer.writeFile(temp / "compile.bat", "eins"));
    EXPECT_FALSE(writer.writeFile(temp / "compile.bat", "zwei"));
    Win32FileSystem files;
    EXPECT_EQ(files.files(temp.path).entries, std::vector<std::string>{"compile.bat"});
}

TEST_F(Win32TextFileWriterTest, PathsWithBlanksAndUmlautsWork)
{
    ASSERT_TRUE(makeDirectory(temp / "Mein Ördner"));
    const std::string path = temp / "Mein Ördner\\Über alles.bat";
    EXPECT_FALSE(writer.writeFile(path, "x"));
    EXPECT_EQ(readBytes(path), "x");
}

TEST_F(Win32TextFileWriterTest, MissingDirectoryIsReportedWithThePath)
{
    const std::string path = temp / "fehlt\\compile.bat";
    const Outcome failure = writer.writeFile(path, "x");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message, "Die Datei \"" + path +
                                    "\" konnte nicht geschrieben werden: Der Pfad ist nicht "
                                    "vorhanden.");
}

TEST_F(Win32TextFileWriterTest, DirectoryOfTheSameNameIsLeftAlone)
{
    ASSERT_TRUE(makeDirectory(temp / "compile.bat"));
    const Outcome failure = writer.writeFile(temp / "compile.bat", "x");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message, "Die Datei \"" + (temp / "compile.bat") +
                                    "\" konnte nicht geschrieben werden: Unter diesem Namen gibt "
                                    "es bereits ein Verzeichnis.");
    Win32FileSystem files;
    EXPECT_TRUE(files.directoryExists(temp / "compile.bat"));
}

} // namespace
} // namespace kelvane

#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_text.h"
#include "windows/temp_directory.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace kelvane {
namespace {

using testing::makeDirectory;
using testing::TempDirectory;
using testing::writeBytes;

std::vector<std::string> sorted(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end());
    return names;
}

// Restores the process's current directory, which tests here change.
class KeepCurrentDirectory
{
public:
    KeepCurrentDirectory()
    {
        wchar_t directory[MAX_PATH] = {};
        m_directory.assign(directory, ::GetCurrentDirectoryW(MAX_PATH, directory));
    }
    ~KeepCurrentDirectory() { ::SetCurrentDirectoryW(m_directory.c_str()); }
    KeepCurrentDirectory(const KeepCurrentDirectory &) = delete;
    KeepCurrentDirectory &operator=(const KeepCurrentDirectory &) = delete;

private:
    std::wstring m_directory;
};

class Win32FileSystemTest : public ::testing::Test
{
protected:
    TempDirectory temp;
    Win32FileSystem files;
};

TEST_F(Win32FileSystemTest, ListsDirectoriesAndFilesApartWithoutHiddenOnes)
{
    ASSERT_TRUE(makeDirectory(temp / "Karten"));
    ASSERT_TRUE(makeDirectory(temp / "Größe mit Blank"));
    ASSERT_TRUE(makeDirectory(temp / "versteckt"));
    ::SetFileAttributesW(win32::widen(temp / "versteckt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(writeBytes(temp / "test.map", "{}"));
    ASSERT_TRUE(writeBytes(temp / "äöü ß.map", "{}"));
    ASSERT_TRUE(writeBytes(temp / "geheim.map", "{}"));
    ::SetFileAttributesW(win32::widen(temp / "geheim.map").c_str(), FILE_ATTRIBUTE_HIDDEN);

    const Listing<std::string> directories = files.subdirectories(temp.path);
    EXPECT_FALSE(directories.failure);
    EXPECT_EQ(sorted(directories.entries), (std::vector<std::string>{"Größe mit Blank", "Karten"}));
    const Listing<std::string> plain = files.files(temp.path);
    EXPECT_FALSE(plain.failure);
    EXPECT_EQ(sorted(plain.entries), (std::vector<std::string>{"test.map", "äöü ß.map"}));
}

TEST_F(Win32FileSystemTest, EmptyDirectoryListsNothing)
{
    EXPECT_TRUE(files.subdirectories(temp.path).entries.empty());
    EXPECT_FALSE(files.files(temp.path).failure);
}

TEST_F(Win32FileSystemTest, MissingDirectorySaysWhichAndWhy)
{
    const std::string missing = temp / "fehlt";
    const Listing<std::string> listing = files.subdirectories(missing);
    ASSERT_TRUE(listing.failure);
    EXPECT_EQ(listing.failure->message, "Das Verzeichnis \"" + missing +
                                            "\" kann nicht gelesen werden: Der Pfad ist nicht "
                                            "vorhanden.");
    EXPECT_TRUE(listing.entries.empty());
}

TEST_F(Win32FileSystemTest, TellsDirectoriesFromFiles)
{
    ASSERT_TRUE(makeDirectory(temp / "Ordner ä"));
    ASSERT_TRUE(writeBytes(temp / "Datei ö.map", ""));
    EXPECT_TRUE(files.directoryExists(temp / "Ordner ä"));
    EXPECT_FALSE(files.fileExists(temp / "Ordner ä"));
    EXPECT_TRUE(files.fileExists(temp / "Datei ö.map"));
    EXPECT_FALSE(files.directoryExists(temp / "Datei ö.map"));
    EXPECT_FALSE(files.fileExists(temp / "fehlt.map"));
    EXPECT_FALSE(files.directoryExists(temp / "fehlt"));
}

TEST_F(Win32FileSystemTest, DrivesAreLettersWithTheirListText)
{
    const std::vector<DriveEntry> drives = files.drives();
    const auto c = std::find_if(drives.begin(), drives.end(),
                                [](const DriveEntry &drive) { return drive.letter == 'C'; });
    ASSERT_NE(c, drives.end());
    EXPECT_EQ(c->text.substr(0, 2), "c:");
    for (const DriveEntry &drive : drives) {
        EXPECT_TRUE(drive.letter >= 'A' && drive.letter <= 'Z') << drive.text;
        EXPECT_EQ(drive.text[0], drive.letter - 'A' + 'a');
    }
}

TEST_F(Win32FileSystemTest, CurrentDirectoryIsKeptPerDrive)
{
    KeepCurrentDirectory keep;
    ASSERT_TRUE(makeDirectory(temp / "Unter Ordner"));
    ASSERT_TRUE(::SetCurrentDirectoryW(win32::widen(temp / "Unter Ordner").c_str()));
    const char drive = temp.path[0];
    EXPECT_EQ(files.currentDrive(), drive);
    EXPECT_EQ(files.currentDirectory(drive), temp / "Unter Ordner");
    EXPECT_EQ(files.currentDirectory(static_cast<char>(drive - 'A' + 'a')), temp / "Unter Ordner");

    // Another drive keeps the directory the process last had there, remembered the way the
    // command interpreter does it, or else its root.
    const char other = drive == 'Y' ? 'X' : 'Y';
    const wchar_t variable[] = {L'=', static_cast<wchar_t>(other), L':', L'\0'};
    ::SetEnvironmentVariableW(variable, nullptr);
    EXPECT_EQ(files.currentDirectory(other), (std::string{other, ':', '\\'}));
    const std::wstring remembered =
        std::wstring{static_cast<wchar_t>(other)} + L":\\Spiele\\Half-Life";
    ::SetEnvironmentVariableW(variable, remembered.c_str());
    EXPECT_EQ(files.currentDirectory(other), win32::narrow(remembered));
    ::SetEnvironmentVariableW(variable, nullptr);
}

} // namespace
} // namespace kelvane

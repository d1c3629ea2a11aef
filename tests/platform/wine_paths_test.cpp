#include "platform/posix/wine_paths.h"
#include "platform/temp_dir.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using test::makeDirectory;
using test::makeLink;
using test::TempDir;

std::vector<std::string> listTexts(const WineDrives &drives)
{
    std::vector<std::string> texts;
    for (const WineDrive &drive : drives.drives())
        texts.push_back(WineDrives::listText(drive));
    return texts;
}

// A prefix as Wine sets one up: C: for drive_c through a relative link, Z: for the root.
class WineDrivesTest : public ::testing::Test
{
protected:
    WineDrivesTest()
    {
        makeDirectory(m_dir / "prefix/dosdevices");
        makeDirectory(m_dir / "prefix/drive_c/windows");
        makeLink("../drive_c", dosdevices() + "/c:");
        makeLink("/", dosdevices() + "/z:");
    }

    std::string prefix() const { return m_dir / "prefix"; }
    std::string dosdevices() const { return m_dir / "prefix/dosdevices"; }
    std::string driveC() const { return m_dir / "prefix/drive_c"; }

    TempDir m_dir;
};

TEST_F(WineDrivesTest, TakesOnlySingleLetterLinksToDirectoriesInLetterOrder)
{
    makeDirectory(m_dir / "media/cdrom");
    makeLink(m_dir / "media/cdrom", dosdevices() + "/d:");
    makeLink("/dev/null", dosdevices() + "/c::");
    makeLink("/dev/null", dosdevices() + "/com1");
    makeLink(driveC(), dosdevices() + "/cd:");
    makeLink(m_dir / "prefix/system.reg", dosdevices() + "/f:");
    test::writeBytes(m_dir / "prefix/system.reg", "");
    makeDirectory(dosdevices() + "/e:");

    const WineDrives drives(prefix());

    EXPECT_EQ(listTexts(drives),
              (std::vector<std::string>{"c: [drive_c]", "d: [cdrom]", "z: [/]"}));
    EXPECT_EQ(drives.drive('C')->target, driveC());
    EXPECT_EQ(drives.drive('d')->target, m_dir / "media/cdrom");
    EXPECT_EQ(drives.drive('Z')->target, "/");
    EXPECT_EQ(drives.drive('E'), nullptr);
}

TEST_F(WineDrivesTest, KeepsADriveWhoseDirectoryIsGone)
{
    makeLink(m_dir / "media/cdrom", dosdevices() + "/d:");

    const WineDrives drives(prefix());

    ASSERT_NE(drives.drive('D'), nullptr);
    EXPECT_EQ(WineDrives::listText(*drives.drive('D')), "d: [cdrom]");
    EXPECT_EQ(drives.toUnix("D:\\maps"), m_dir / "media/cdrom/maps");
    EXPECT_EQ(drives.toDos(m_dir / "media/cdrom/maps"), "D:\\maps");
}

TEST_F(WineDrivesTest, TheRootIsDriveZWhenThereAreNoDrives)
{
    std::filesystem::remove(dosdevices() + "/c:");
    std::filesystem::remove(dosdevices() + "/z:");
    makeDirectory(m_dir / "empty");

    for (const std::optional<std::string> &prefix :
         {std::optional<std::string>(), std::optional<std::string>(m_dir / "missing"),
          std::optional<std::string>(m_dir / "empty"), std::optional<std::string>(prefix())}) {
        const WineDrives drives(prefix);
        EXPECT_EQ(listTexts(drives), std::vector<std::string>{"z: [/]"}) << prefix.value_or("-");
        EXPECT_EQ(drives.toUnix("Z:\\home\\me"), "/home/me");
        EXPECT_EQ(drives.toDos("/home/me"), "Z:\\home\\me");
    }
}

TEST_F(WineDrivesTest, ToUnixJoinsTheDriveTargetAndTheComponents)
{
    const WineDrives drives(prefix());
    const std::string c = driveC();

    EXPECT_EQ(drives.toUnix("C:\\"), c);
    EXPECT_EQ(drives.toUnix("C:"), c);
    EXPECT_EQ(drives.toUnix("c:\\windows\\System32"), c + "/windows/System32");
    EXPECT_EQ(drives.toUnix("Z:\\"), "/");
    EXPECT_EQ(drives.toUnix("Z:\\home\\me\\"), "/home/me");
    EXPECT_EQ(drives.toUnix("Z:/home//me"), "/home/me");
    EXPECT_EQ(drives.toUnix("Z:\\Mein Ordner\\Größe ä.map"), "/Mein Ordner/Größe ä.map");
    // ".." never leaves the drive.
    EXPECT_EQ(drives.toUnix("C:\\windows\\..\\..\\..\\x"), c + "/x");
    EXPECT_EQ(drives.toUnix("Z:\\.\\a\\..\\b"), "/b");
}

TEST_F(WineDrivesTest, ToUnixRefusesWhatNamesNoDrive)
{
    const WineDrives drives(prefix());

    EXPECT_EQ(drives.toUnix("Q:\\maps"), std::nullopt);
    EXPECT_EQ(drives.toUnix("\\\\server\\share"), std::nullopt);
    EXPECT_EQ(drives.toUnix("maps\\x.map"), std::nullopt);
    EXPECT_EQ(drives.toUnix("1:\\x"), std::nullopt);
    EXPECT_EQ(drives.toUnix(""), std::nullopt);
}

TEST_F(WineDrivesTest, ToDosTakesTheDriveCoveringMostOfThePath)
{
    makeDirectory(driveC() + "/windows/a b");
    makeDirectory(m_dir / "prefix/drive_c_old");
    const WineDrives drives(prefix());

    EXPECT_EQ(drives.toDos(driveC()), "C:\\");
    EXPECT_EQ(drives.toDos(driveC() + "/windows/a b"), "C:\\windows\\a b");
    EXPECT_EQ(drives.toDos(driveC() + "/noch/nicht/da.bat"), "C:\\noch\\nicht\\da.bat");
    // A name that merely begins like the drive's directory is not on the drive.
    EXPECT_EQ(drives.toDos(m_dir / "prefix/drive_c_old"),
              test::onDriveZ(m_dir / "prefix/drive_c_old"));
    EXPECT_EQ(drives.toDos("/"), "Z:\\");
    EXPECT_EQ(drives.toDos("/usr/bin"), "Z:\\usr\\bin");
}

TEST_F(WineDrivesTest, ToDosResolvesLinksFirst)
{
    makeLink(driveC() + "/windows", m_dir / "shortcut");
    const WineDrives drives(prefix());

    EXPECT_EQ(drives.toDos(m_dir / "shortcut/x.map"), "C:\\windows\\x.map");
    EXPECT_EQ(drives.toDos(m_dir / "prefix/dosdevices/../drive_c"), "C:\\");
}

TEST_F(WineDrivesTest, ToDosRefusesWhatNoDriveCoversOrNoDosPathCanName)
{
    std::filesystem::remove(dosdevices() + "/z:");
    const WineDrives drives(prefix());

    EXPECT_EQ(drives.toDos("/usr/bin"), std::nullopt);
    EXPECT_EQ(drives.toDos(driveC() + "/back\\slash"), std::nullopt);
    EXPECT_EQ(drives.toDos(""), std::nullopt);
}

TEST_F(WineDrivesTest, PathsWithBlanksAndUmlautsComeBackUnchanged)
{
    const std::string unixPath = driveC() + "/Meine Karten/Größe ä ö ü ß.map";
    makeDirectory(driveC() + "/Meine Karten");
    test::writeBytes(unixPath, "");
    const WineDrives drives(prefix());

    const std::optional<std::string> dos = drives.toDos(unixPath);
    ASSERT_EQ(dos, "C:\\Meine Karten\\Größe ä ö ü ß.map");
    EXPECT_EQ(drives.toUnix(*dos), unixPath);

    const std::string outside = m_dir / "Ordner mit Leerzeichen/Übung";
    EXPECT_EQ(drives.toUnix(*drives.toDos(outside)), outside);
}

TEST_F(WineDrivesTest, DriveLetterOfTakesOnlyALetterAndAColon)
{
    EXPECT_EQ(WineDrives::driveLetterOf("c:\\x"), 'C');
    EXPECT_EQ(WineDrives::driveLetterOf("Z:"), 'Z');
    EXPECT_EQ(WineDrives::driveLetterOf("Z"), std::nullopt);
    EXPECT_EQ(WineDrives::driveLetterOf("\\\\s\\x"), std::nullopt);
    EXPECT_EQ(WineDrives::driveLetterOf("ä:"), std::nullopt);
}

TEST_F(WineDrivesTest, FromEnvironmentUsesWinePrefixElseTheHomeDirectory)
{
    {
        test::ScopedEnvironment winePrefix("WINEPREFIX", prefix());
        test::ScopedEnvironment home("HOME", m_dir.path());
        EXPECT_EQ(listTexts(WineDrives::fromEnvironment()),
                  (std::vector<std::string>{"c: [drive_c]", "z: [/]"}));
    }
    {
        makeDirectory(m_dir / "home/.wine/dosdevices");
        makeLink("/", m_dir / "home/.wine/dosdevices/y:");
        test::ScopedEnvironment winePrefix("WINEPREFIX", std::nullopt);
        test::ScopedEnvironment home("HOME", m_dir / "home");
        EXPECT_EQ(listTexts(WineDrives::fromEnvironment()), std::vector<std::string>{"y: [/]"});
    }
    {
        test::ScopedEnvironment winePrefix("WINEPREFIX", std::nullopt);
        test::ScopedEnvironment home("HOME", std::nullopt);
        EXPECT_EQ(listTexts(WineDrives::fromEnvironment()), std::vector<std::string>{"z: [/]"});
    }
}

} // namespace
} // namespace kelvane

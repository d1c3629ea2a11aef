#include "platform/posix/posix_file_system.h"
#include "platform/temp_dir.h"

#include <algorithm>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {
namespace {

using test::makeDirectory;
using test::makeLink;
using test::onDriveZ;
using test::TempDir;
using test::writeBytes;

std::vector<std::string> sorted(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end());
    return names;
}

// A prefix with C: on drive_c, D: on a CD that is not mounted and Z: on the root.
class PosixFileSystemTest : public ::testing::Test
{
protected:
    PosixFileSystemTest()
    {
        makeDirectory(m_dir / "prefix/dosdevices");
        makeDirectory(m_dir / "prefix/drive_c/windows");
        makeLink("../drive_c", m_dir / "prefix/dosdevices/c:");
        makeLink(m_dir / "media/cdrom", m_dir / "prefix/dosdevices/d:");
        makeLink("/", m_dir / "prefix/dosdevices/z:");
    }

    PosixFileSystem fileSystem() const { return PosixFileSystem(WineDrives(m_dir / "prefix")); }
    std::string dos(std::string_view name) const { return onDriveZ(m_dir / name); }

    TempDir m_dir;
};

TEST_F(PosixFileSystemTest, OffersTheDrivesInLetterOrder)
{
    const std::vector<DriveEntry> drives = fileSystem().drives();

    ASSERT_EQ(drives.size(), 3u);
    EXPECT_EQ(drives[0].letter, 'C');
    EXPECT_EQ(drives[0].text, "c: [drive_c]");
    EXPECT_EQ(drives[1].letter, 'D');
    EXPECT_EQ(drives[1].text, "d: [cdrom]");
    EXPECT_EQ(drives[2].letter, 'Z');
    EXPECT_EQ(drives[2].text, "z: [/]");
}

TEST_F(PosixFileSystemTest, ListsDirectoriesAndFilesApartWithLinksAsWhatTheyPointTo)
{
    const std::string dir = m_dir / "maps";
    makeDirectory(dir + "/sub");
    makeDirectory(dir + "/.versteckt");
    makeDirectory(dir + "/Mit Leerzeichen ä");
    writeBytes(dir + "/karte.map", "x");
    writeBytes(dir + "/.hidden.txt", "");
    writeBytes(dir + "/Größe.bsp", "");
    makeLink(dir + "/sub", dir + "/link to dir");
    makeLink(dir + "/karte.map", dir + "/link to file");
    makeLink(dir + "/gone", dir + "/dangling");
    ASSERT_EQ(::mkfifo((dir + "/pipe").c_str(), 0600), 0);
    PosixFileSystem fs = fileSystem();

    const Listing<std::string> subdirectories = fs.subdirectories(dos("maps"));
    const Listing<std::string> files = fs.files(dos("maps"));

    EXPECT_FALSE(subdirectories.failure);
    EXPECT_EQ(sorted(subdirectories.entries),
              (std::vector<std::string>{".versteckt", "Mit Leerzeichen ä", "link to dir", "sub"}));
    EXPECT_FALSE(files.failure);
    EXPECT_EQ(sorted(files.entries),
              (std::vector<std::string>{".hidden.txt", "Größe.bsp", "karte.map", "link to file"}));
}

TEST_F(PosixFileSystemTest, LeavesOutNamesNoDosPathCanHold)
{
    makeDirectory(m_dir / "maps/a\\b");
    writeBytes(m_dir / "maps/c\\d.map", "");
    writeBytes(m_dir / "maps/ok.map", "");
    PosixFileSystem fs = fileSystem();

    EXPECT_TRUE(fs.subdirectories(dos("maps")).entries.empty());
    EXPECT_EQ(fs.files(dos("maps")).entries, std::vector<std::string>{"ok.map"});
}

TEST_F(PosixFileSystemTest, ListsADriveRootThroughItsLink)
{
    writeBytes(m_dir / "prefix/drive_c/autoexec.bat", "");
    PosixFileSystem fs = fileSystem();

    EXPECT_EQ(fs.subdirectories("C:\\").entries, std::vector<std::string>{"windows"});
    EXPECT_EQ(fs.files("c:").entries, std::vector<std::string>{"autoexec.bat"});
}

TEST_F(PosixFileSystemTest, AnEmptyDirectoryIsNoFailure)
{
    makeDirectory(m_dir / "leer");

    const Listing<std::string> listing = fileSystem().subdirectories(dos("leer"));

    EXPECT_TRUE(listing.entries.empty());
    EXPECT_FALSE(listing.failure);
}

TEST_F(PosixFileSystemTest, ADriveThatIsNotThereCannotBeAccessed)
{
    PosixFileSystem fs = fileSystem();

    for (const char *path : {"D:\\", "D:\\maps", "d:"}) {
        const Listing<std::string> listing = fs.subdirectories(path);
        ASSERT_TRUE(listing.failure) << path;
        EXPECT_EQ(listing.failure->message, "Auf das Laufwerk D: kann nicht zugegriffen werden.");
        EXPECT_TRUE(listing.entries.empty());
    }
    const Listing<std::string> unknown = fs.files("q:\\maps");
    ASSERT_TRUE(unknown.failure);
    EXPECT_EQ(unknown.failure->message, "Auf das Laufwerk Q: kann nicht zugegriffen werden.");
}

TEST_F(PosixFileSystemTest, ADirectoryThatCannotBeReadSaysWhy)
{
    writeBytes(m_dir / "afile", "");
    PosixFileSystem fs = fileSystem();

    const Listing<std::string> missing = fs.subdirectories(dos("fehlt"));
    ASSERT_TRUE(missing.failure);
    EXPECT_EQ(missing.failure->message, "Das Verzeichnis \"" + dos("fehlt") +
                                            "\" kann nicht gelesen werden: Der Pfad ist "
                                            "nicht vorhanden.");

    const Listing<std::string> throughFile = fs.files(dos("afile\\x"));
    ASSERT_TRUE(throughFile.failure);
    EXPECT_EQ(throughFile.failure->message, "Das Verzeichnis \"" + dos("afile\\x") +
                                                "\" kann nicht gelesen werden: Ein Teil des "
                                                "Pfades ist kein Verzeichnis.");

    const Listing<std::string> noDrive = fs.files("maps\\x");
    ASSERT_TRUE(noDrive.failure);
    EXPECT_EQ(noDrive.failure->message, "Das Verzeichnis \"maps\\x\" kann nicht gelesen werden: "
                                        "Der Pfad beginnt nicht mit einem Laufwerk.");
}

TEST_F(PosixFileSystemTest, ADirectoryWithoutReadPermissionIsRefused)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop the superuser";
    makeDirectory(m_dir / "geheim/innen");
    ASSERT_EQ(::chmod((m_dir / "geheim").c_str(), 0), 0);

    const Listing<std::string> listing = fileSystem().subdirectories(dos("geheim"));

    ASSERT_TRUE(listing.failure);
    EXPECT_EQ(listing.failure->message, "Das Verzeichnis \"" + dos("geheim") +
                                            "\" kann nicht gelesen werden: Der Zugriff wurde "
                                            "verweigert.");
    EXPECT_TRUE(listing.entries.empty());
}

TEST_F(PosixFileSystemTest, TellsDirectoriesFromFiles)
{
    makeDirectory(m_dir / "maps");
    writeBytes(m_dir / "maps/karte.map", "");
    makeLink(m_dir / "maps", m_dir / "maps link");
    makeLink(m_dir / "maps/karte.map", m_dir / "karte link");
    PosixFileSystem fs = fileSystem();

    EXPECT_TRUE(fs.directoryExists(dos("maps")));
    EXPECT_TRUE(fs.directoryExists(dos("maps link")));
    EXPECT_TRUE(fs.directoryExists("C:\\"));
    EXPECT_FALSE(fs.directoryExists(dos("maps\\karte.map")));
    EXPECT_FALSE(fs.directoryExists(dos("fehlt")));
    EXPECT_FALSE(fs.directoryExists("D:\\"));
    EXPECT_FALSE(fs.directoryExists("Q:\\"));

    EXPECT_TRUE(fs.fileExists(dos("maps\\karte.map")));
    EXPECT_TRUE(fs.fileExists(dos("karte link")));
    EXPECT_FALSE(fs.fileExists(dos("maps")));
    EXPECT_FALSE(fs.fileExists(dos("maps\\fehlt.map")));
    EXPECT_FALSE(fs.fileExists("maps\\karte.map"));
}

// Runs a test body in another working directory and goes back afterwards.
class WorkingDirectory
{
public:
    explicit WorkingDirectory(const std::string &path)
        : m_old(std::filesystem::current_path())
    {
        std::filesystem::current_path(path);
    }
    ~WorkingDirectory() { std::filesystem::current_path(m_old); }

private:
    std::filesystem::path m_old;
};

TEST_F(PosixFileSystemTest, TheWorkingDirectoryIsTheCurrentDirectoryOfItsDrive)
{
    makeDirectory(m_dir / "maps");
    PosixFileSystem fs = fileSystem();
    {
        const WorkingDirectory cwd(m_dir / "prefix/drive_c/windows");
        EXPECT_EQ(fs.currentDrive(), 'C');
        EXPECT_EQ(fs.currentDirectory('C'), "C:\\windows");
        EXPECT_EQ(fs.currentDirectory('c'), "C:\\windows");
        EXPECT_EQ(fs.currentDirectory('Z'), "Z:\\");
    }
    {
        const WorkingDirectory cwd(m_dir / "maps");
        EXPECT_EQ(fs.currentDrive(), 'Z');
        EXPECT_EQ(fs.currentDirectory('Z'), dos("maps"));
        EXPECT_EQ(fs.currentDirectory('C'), "C:\\");
        EXPECT_EQ(fs.currentDirectory('D'), "D:\\");
    }
}

TEST_F(PosixFileSystemTest, AWorkingDirectoryNoDriveCoversLeavesTheFirstDrive)
{
    std::filesystem::remove(m_dir / "prefix/dosdevices/z:");
    makeDirectory(m_dir / "maps");
    PosixFileSystem fs = fileSystem();
    const WorkingDirectory cwd(m_dir / "maps");

    EXPECT_EQ(fs.currentDrive(), 'C');
    EXPECT_EQ(fs.currentDirectory('C'), "C:\\");
}

// More names than one read of the directory returns.
TEST_F(PosixFileSystemTest, ListsALargeDirectoryWhole)
{
    constexpr int count = 4000;
    const std::string dir = m_dir / "gross";
    makeDirectory(dir);
    for (int i = 0; i < count; ++i) {
        const std::string name = dir + "/Eintrag mit langem Namen " + std::to_string(i);
        if (i % 2 == 0)
            ASSERT_EQ(::close(::creat((name + ".map").c_str(), 0644)), 0);
        else
            ASSERT_EQ(::mkdir(name.c_str(), 0755), 0);
    }
    PosixFileSystem fs = fileSystem();

    EXPECT_EQ(fs.files(dos("gross")).entries.size(), count / 2u);
    EXPECT_EQ(fs.subdirectories(dos("gross")).entries.size(), count / 2u);
}

} // namespace
} // namespace kelvane

#include "platform/posix/posix_program.h"
#include "platform/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kelvane {
namespace {

using test::onDriveZ;
using test::TempDir;

TEST(PosixProgramInfo, TheProgramDirectoryIsWhereTheRunningFileLies)
{
    const std::string executable = std::filesystem::canonical("/proc/self/exe").string();
    PosixProgramInfo info(WineDrives(std::nullopt), {});

    EXPECT_EQ(info.programDirectory(), onDriveZ(executable.substr(0, executable.rfind('/'))));
}

TEST(PosixProgramInfo, TheUserDataDirectoryIsMadeOnDemandForTheUserAlone)
{
    TempDir dir;
    const std::string data = dir / "share/deep/kelvane";
    PosixProgramInfo info(WineDrives(std::nullopt), data);

    EXPECT_EQ(info.userDataDirectory(), onDriveZ(data));

    struct stat st;
    ASSERT_EQ(::stat(data.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(info.userDataDirectory(), onDriveZ(data));
}

TEST(PosixProgramInfo, TheUserDataDirectoryIsEmptyWhenItCannotBeMade)
{
    TempDir dir;
    test::writeBytes(dir / "afile", "");

    EXPECT_EQ(PosixProgramInfo(WineDrives(std::nullopt), dir / "afile/kelvane").userDataDirectory(),
              "");
    EXPECT_EQ(PosixProgramInfo(WineDrives(std::nullopt), "").userDataDirectory(), "");
}

TEST(PosixProgramInfo, TheUserDataDirectoryFollowsTheDataHomeElseTheHomeDirectory)
{
    {
        test::ScopedEnvironment dataHome("XDG_DATA_HOME", "/data/home");
        test::ScopedEnvironment home("HOME", "/home/me");
        EXPECT_EQ(PosixProgramInfo::userDataDirectoryFromEnvironment(), "/data/home/kelvane");
    }
    for (const std::optional<std::string> &dataHome :
         {std::optional<std::string>(), std::optional<std::string>(""),
          std::optional<std::string>("relative/data")}) {
        test::ScopedEnvironment xdg("XDG_DATA_HOME", dataHome);
        test::ScopedEnvironment home("HOME", "/home/me");
        EXPECT_EQ(PosixProgramInfo::userDataDirectoryFromEnvironment(),
                  "/home/me/.local/share/kelvane");
    }
    {
        test::ScopedEnvironment dataHome("XDG_DATA_HOME", std::nullopt);
        test::ScopedEnvironment home("HOME", std::nullopt);
        EXPECT_EQ(PosixProgramInfo::userDataDirectoryFromEnvironment(), "");
    }
}

} // namespace
} // namespace kelvane

#include "platform/posix/posix_text_file.h"
#include "platform/temp_dir.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {
namespace {

using test::onDriveZ;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

std::vector<std::string> namesIn(const std::string &dir)
{
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class PosixTextFileWriterTest : public ::testing::Test
{
protected:
    std::string dos(std::string_view name) const { return onDriveZ(m_dir / name); }

    TempDir m_dir;
    PosixTextFileWriter m_writer{WineDrives(std::nullopt)};
};

TEST_F(PosixTextFileWriterTest, CreatesAFileWithExactlyTheBytes)
{
    using namespace std::string_literals;
    const std::string bytes = "@echo off\r\nhlcsg \"C:\\Größe\\a b.map\"\r\n\0x"s;

    EXPECT_EQ(m_writer.writeFile(dos("compile.bat"), bytes), std::nullopt);

    EXPECT_EQ(readBytes(m_dir / "compile.bat"), bytes);
    EXPECT_EQ(namesIn(m_dir.path()), std::vector<std::string>{"compile.bat"});
}

TEST_F(PosixTextFileWriterTest, ReplacesALongerFileLeavingNothingOfIt)
{
    writeBytes(m_dir / "compile.bat", std::string(10000, 'x'));

    EXPECT_EQ(m_writer.writeFile(dos("compile.bat"), "kurz"), std::nullopt);
    EXPECT_EQ(readBytes(m_dir / "compile.bat"), "kurz");

    EXPECT_EQ(m_writer.writeFile(dos("compile.bat"), ""), std::nullopt);
    EXPECT_EQ(readBytes(m_dir / "compile.bat"), "");
    EXPECT_EQ(namesIn(m_dir.path()), std::vector<std::string>{"compile.bat"});
}

TEST_F(PosixTextFileWriterTest, KeepsThePermissionsOfTheFileItReplaces)
{
    writeBytes(m_dir / "compile.bat", "alt");
    ASSERT_EQ(::chmod((m_dir / "compile.bat").c_str(), 0751), 0);

    EXPECT_EQ(m_writer.writeFile(dos("compile.bat"), "neu"), std::nullopt);

    struct stat st;
    ASSERT_EQ(::stat((m_dir / "compile.bat").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0751u);
}

TEST_F(PosixTextFileWriterTest, WritingThroughALinkReplacesTheFileItPointsTo)
{
    test::makeDirectory(m_dir / "real");
    writeBytes(m_dir / "real/compile.bat", "alt");
    test::makeLink(m_dir / "real/compile.bat", m_dir / "compile.bat");

    EXPECT_EQ(m_writer.writeFile(dos("compile.bat"), "neu"), std::nullopt);

    EXPECT_TRUE(std::filesystem::is_symlink(m_dir / "compile.bat"));
    EXPECT_EQ(readBytes(m_dir / "real/compile.bat"), "neu");
    EXPECT_EQ(namesIn(m_dir / "real"), std::vector<std::string>{"compile.bat"});
}

TEST_F(PosixTextFileWriterTest, AFailureNamesTheFileAndTheReason)
{
    writeBytes(m_dir / "afile", "");
    test::makeDirectory(m_dir / "ordner");

    const struct
    {
        std::string path;
        std::string reason;
    } rows[] = {
        {dos("afile\\x.bat"), "Ein Teil des Pfades ist kein Verzeichnis."},
        {dos("fehlt\\x.bat"), "Der Pfad ist nicht vorhanden."},
        {dos("ordner"), "Unter diesem Namen gibt es bereits ein Verzeichnis."},
        {"Q:\\compile.bat", "Das Laufwerk Q: gibt es nicht."},
        {"compile.bat", "Der Pfad beginnt nicht mit einem Laufwerk."},
    };
    for (const auto &row : rows) {
        const Outcome outcome = m_writer.writeFile(row.path, "x");
        ASSERT_TRUE(outcome) << row.path;
        EXPECT_EQ(outcome->message,
                  "Die Datei \"" + row.path + "\" konnte nicht geschrieben werden: " + row.reason);
    }
    EXPECT_EQ(namesIn(m_dir.path()), (std::vector<std::string>{"afile", "ordner"}));
    EXPECT_TRUE(namesIn(m_dir / "ordner").empty());
}

TEST_F(PosixTextFileWriterTest, AReadOnlyDirectoryKeepsTheOldFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop the superuser";
    test::makeDirectory(m_dir / "nur lesen");
    writeBytes(m_dir / "nur lesen/compile.bat", "alt");
    ASSERT_EQ(::chmod((m_dir / "nur lesen").c_str(), 0555), 0);

    const Outcome outcome = m_writer.writeFile(dos("nur lesen\\compile.bat"), "neu");

    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->message, "Die Datei \"" + dos("nur lesen\\compile.bat") +
                                    "\" konnte nicht geschrieben werden: Der Zugriff wurde "
                                    "verweigert.");
    EXPECT_EQ(readBytes(m_dir / "nur lesen/compile.bat"), "alt");
}

} // namespace
} // namespace kelvane

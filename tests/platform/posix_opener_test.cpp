#include "platform/posix/posix_opener.h"
#include "platform/temp_dir.h"

#include <cerrno>
#include <chrono>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

namespace kelvane {
namespace {

using test::onDriveZ;
using test::TempDir;

// Waits for what a stand-in opener records. The deadline only keeps a broken run from hanging.
std::optional<std::string> waitForFile(const std::string &path)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        if (std::filesystem::exists(path))
            return test::readBytes(path);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::nullopt;
}

std::vector<std::string> splitAtNul(const std::string &bytes)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find('\0', start)) != std::string::npos; start = end + 1)
        parts.push_back(bytes.substr(start, end - start));
    return parts;
}

class PosixDesktopOpenerTest : public ::testing::Test
{
protected:
    PosixDesktopOpenerTest()
    {
        test::makeDirectory(m_dir / "bin");
        writeStandIn(standIn());
    }

    // An opener that writes its arguments, each ended by a NUL, and then renames the record into
    // place so that a reader never sees half of it.
    void writeStandIn(const std::string &path) const
    {
        test::writeBytes(path, "#!/bin/sh\n"
                               "printf '%s\\0' \"$@\" > '" +
                                   record() +
                                   ".part'\n"
                                   "/bin/mv '" +
                                   record() + ".part' '" + record() + "'\n");
        ::chmod(path.c_str(), 0755);
    }

    std::string standIn() const { return m_dir / "bin/stand-in opener"; }
    std::string record() const { return m_dir / "argv"; }

    std::optional<std::vector<std::string>> recordedArguments() const
    {
        const std::optional<std::string> bytes = waitForFile(record());
        if (!bytes)
            return std::nullopt;
        return splitAtNul(*bytes);
    }

    TempDir m_dir;
};

TEST_F(PosixDesktopOpenerTest, OpensADocumentByItsUnixPathAsOneArgument)
{
    const std::string document = m_dir / "Hilfe; $(rm -rf) 'ä' \"x\".pdf";
    test::writeBytes(document, "");
    PosixDesktopOpener opener(WineDrives(std::nullopt), standIn());

    EXPECT_EQ(opener.openDocument(onDriveZ(document)), std::nullopt);

    EXPECT_EQ(recordedArguments(), std::vector<std::string>{document});
}

TEST_F(PosixDesktopOpenerTest, OpensAUrlAsItStands)
{
    const std::string url = "mailto:jemand@example.org?subject=Karte & Größe";
    PosixDesktopOpener opener(WineDrives(std::nullopt), standIn());

    EXPECT_EQ(opener.openUrl(url), std::nullopt);

    EXPECT_EQ(recordedArguments(), std::vector<std::string>{url});
}

TEST_F(PosixDesktopOpenerTest, FindsTheOpenerOnThePath)
{
    writeStandIn(m_dir / "bin/mein-oeffner");
    test::ScopedEnvironment path("PATH", m_dir / "nirgends" + ":" + (m_dir / "bin"));
    PosixDesktopOpener opener(WineDrives(std::nullopt), "mein-oeffner");

    EXPECT_EQ(opener.openUrl("https://example.org/"), std::nullopt);

    EXPECT_EQ(recordedArguments(), std::vector<std::string>{"https://example.org/"});
}

TEST_F(PosixDesktopOpenerTest, LeavesNoFinishedOpenerBehind)
{
    PosixDesktopOpener opener(WineDrives(std::nullopt), standIn());
    ASSERT_EQ(opener.openUrl("https://example.org/"), std::nullopt);
    ASSERT_TRUE(recordedArguments());

    // Looks without collecting: once the opener is gone, this process has no child at all.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    bool childLeft = true;
    while (childLeft && std::chrono::steady_clock::now() < deadline) {
        siginfo_t info{};
        childLeft = ::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) == 0 || errno != ECHILD;
        if (childLeft)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_FALSE(childLeft);
}

TEST_F(PosixDesktopOpenerTest, AMissingOpenerIsNamed)
{
    test::writeBytes(m_dir / "bin/not-executable", "#!/bin/sh\n");
    test::writeBytes(m_dir / "doc.pdf", "");
    test::ScopedEnvironment path("PATH", m_dir / "bin");

    for (const std::string &program : {std::string("kelvane-kein-oeffner"),
                                       std::string("not-executable"), m_dir / "bin/fehlt"}) {
        PosixDesktopOpener opener(WineDrives(std::nullopt), program);
        const Outcome outcome = opener.openDocument(onDriveZ(m_dir / "doc.pdf"));
        ASSERT_TRUE(outcome) << program;
        EXPECT_EQ(outcome->message,
                  "Das Programm \"" + program +
                      "\" wurde nicht gefunden. Es wird gebraucht, um Dokumente und Webseiten mit "
                      "dem Programm zu öffnen, das der Desktop dafür vorsieht.");
        EXPECT_EQ(opener.openUrl("https://example.org/")->message, outcome->message);
    }
}

TEST_F(PosixDesktopOpenerTest, AMissingDocumentIsNotHandedOn)
{
    PosixDesktopOpener opener(WineDrives(std::nullopt), standIn());

    for (const std::string &path : {onDriveZ(m_dir / "fehlt.pdf"), std::string("Q:\\hilfe.pdf")}) {
        const Outcome outcome = opener.openDocument(path);
        ASSERT_TRUE(outcome);
        EXPECT_EQ(outcome->message, "Die Datei \"" + path + "\" wurde nicht gefunden.");
    }
    EXPECT_FALSE(std::filesystem::exists(record()));
}

TEST_F(PosixDesktopOpenerTest, AUrlThatWouldReadAsAnOptionIsRefused)
{
    PosixDesktopOpener opener(WineDrives(std::nullopt), standIn());

    const Outcome outcome = opener.openUrl("--manual");

    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->message, "Die Adresse \"--manual\" kann nicht geöffnet werden.");
}

} // namespace
} // namespace kelvane

#include "platform/posix/posix_launcher.h"
#include "platform/temp_dir.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <locale.h>
#include <sys/stat.h>
#include <thread>

namespace kelvane {
namespace {

using test::onDriveZ;
using test::TempDir;

// Waits for what a stand-in records. The deadline only keeps a broken run from hanging.
std::optional<std::string> waitForFile(const std::string &path,
                                       std::chrono::seconds patience = std::chrono::seconds(20))
{
    const auto deadline = std::chrono::steady_clock::now() + patience;
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

std::string quotedForShell(const std::string &text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

void writeProgram(const std::string &path, const std::string &body)
{
    test::writeBytes(path, "#!/bin/sh\n" + body);
    ::chmod(path.c_str(), 0755);
}

// A program directory whose name means something to a shell and to cmd.
constexpr const char *kHostileName = "Kelvane 'q' $(touch pwned); & ^ (x86) %OS% !x!";

class PosixLauncherTest : public ::testing::Test
{
protected:
    PosixLauncherTest()
    {
        test::makeDirectory(m_dir / "bin");
        test::makeDirectory(m_dir / "records");
        writeProgram(terminal(), recorder("terminal") +
                                     "while [ \"$#\" -gt 0 ] && [ \"$1\" != -e ]; do shift; "
                                     "done\nshift\nexec \"$@\"\n");
        writeProgram(wine(), recorder("wine"));
    }

    // Writes its arguments, each ended by a NUL, and its working directory, then renames the
    // records into place so that a reader never sees half of them.
    std::string recorder(const std::string &name) const
    {
        const std::string base = quotedForShell(m_dir / ("records/" + name));
        return "printf '%s\\0' \"$@\" > " + base + ".argv.part\n" + "pwd -P > " + base +
               ".cwd.part\n" + "/bin/mv " + base + ".cwd.part " + base + ".cwd\n" + "/bin/mv " +
               base + ".argv.part " + base + ".argv\n";
    }

    std::string terminal() const { return m_dir / "bin/stand-in terminal"; }
    std::string wine() const { return m_dir / "bin/wine"; }

    std::optional<std::vector<std::string>> arguments(const std::string &name) const
    {
        const auto bytes = waitForFile(m_dir / ("records/" + name + ".argv"));
        return bytes ? std::optional(splitAtNul(*bytes)) : std::nullopt;
    }
    std::string workingDirectory(const std::string &name) const
    {
        waitForFile(m_dir / ("records/" + name + ".argv"));
        std::string cwd = test::readBytes(m_dir / ("records/" + name + ".cwd"));
        if (!cwd.empty() && cwd.back() == '\n')
            cwd.pop_back();
        return cwd;
    }
    bool recorded(const std::string &name) const
    {
        return std::filesystem::exists(m_dir / ("records/" + name + ".argv"));
    }

    // compile.bat in a program directory of its own.
    std::string script(const std::string &directoryName)
    {
        test::makeDirectory(m_dir / directoryName);
        const std::string path = m_dir / (directoryName + "/compile.bat");
        test::writeBytes(path, "@echo off");
        return path;
    }

    PosixLauncher launcher(std::vector<TerminalProgram> terminals = {})
    {
        if (terminals.empty())
            terminals = {{terminal(), {"-T", "Kelvane", "-e"}}};
        PosixLauncher l(WineDrives(std::nullopt), std::move(terminals), wine(), 850);
        l.setStartupGrace(std::chrono::seconds(20));
        return l;
    }

    TempDir m_dir;
};

TEST_F(PosixLauncherTest, RunsTheScriptWithWinesInterpreterInItsOwnDirectory)
{
    const std::string path = script(kHostileName);
    EXPECT_EQ(launcher().startScript(onDriveZ(path)), std::nullopt);

    EXPECT_EQ(arguments("terminal"), (std::vector<std::string>{"-T", "Kelvane", "-e", wine(), "cmd",
                                                               "/k", "compile.bat"}));
    EXPECT_EQ(arguments("wine"), (std::vector<std::string>{"cmd", "/k", "compile.bat"}));
    EXPECT_EQ(workingDirectory("wine"), m_dir / kHostileName);
    EXPECT_FALSE(std::filesystem::exists(m_dir / (std::string(kHostileName) + "/pwned")));
    EXPECT_FALSE(std::filesystem::exists("pwned"));
}

TEST_F(PosixLauncherTest, TriesTheDesktopsTerminalFirstThenXterm)
{
    test::ScopedEnvironment path("PATH", m_dir / "bin");
    writeProgram(m_dir / "bin/xterm", recorder("xterm"));
    writeProgram(m_dir / "bin/konsole", recorder("konsole"));
    const std::string compile = script("Kelvane");

    PosixLauncher l(WineDrives(std::nullopt), PosixLauncher::commonTerminals(), "wine", 850);
    l.setStartupGrace(std::chrono::seconds(20));
    EXPECT_EQ(l.startScript(onDriveZ(compile)), std::nullopt);
    EXPECT_EQ(arguments("xterm"), (std::vector<std::string>{"-T", "Kelvane", "-e", wine(), "cmd",
                                                            "/k", "compile.bat"}));
    EXPECT_FALSE(recorded("konsole"));

    writeProgram(m_dir / "bin/x-terminal-emulator", recorder("x-terminal-emulator"));
    EXPECT_EQ(l.startScript(onDriveZ(compile)), std::nullopt);
    EXPECT_EQ(
        arguments("x-terminal-emulator"),
        (std::vector<std::string>{"-T", "Kelvane", "-e", wine(), "cmd", "/k", "compile.bat"}));
}

TEST_F(PosixLauncherTest, SkipsTerminalsThatAreNotInstalled)
{
    const std::string compile = script("Kelvane");
    PosixLauncher l = launcher({{m_dir / "bin/missing", {"-e"}}, {terminal(), {"-e"}}});
    EXPECT_EQ(l.startScript(onDriveZ(compile)), std::nullopt);
    EXPECT_EQ(arguments("terminal"),
              (std::vector<std::string>{"-e", wine(), "cmd", "/k", "compile.bat"}));
}

TEST_F(PosixLauncherTest, WithoutWineSaysWhatToInstallAndStartsNothing)
{
    const std::string compile = script("Kelvane");
    PosixLauncher l(WineDrives(std::nullopt), {{terminal(), {"-e"}}}, m_dir / "bin/no-wine", 850);
    EXPECT_EQ(l.startScript(onDriveZ(compile))->message,
              "Wine wurde nicht gefunden. Unter Linux laufen compile.bat, die Compiler und andere "
              "Windows-Programme mit Wine; bitte installieren Sie es (unter Debian und Ubuntu "
              "mit: sudo apt install wine).");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(recorded("terminal"));
}

TEST_F(PosixLauncherTest, WithoutATerminalSaysWhatToInstall)
{
    const std::string compile = script("Kelvane");
    PosixLauncher l = launcher({{"kelvane-no-such-terminal", {"-e"}}, {"nor-this-one", {"-x"}}});
    EXPECT_EQ(l.startScript(onDriveZ(compile))->message,
              "Es wurde kein Terminal gefunden, in dem compile.bat laufen kann (gesucht: "
              "kelvane-no-such-terminal, nor-this-one). Bitte installieren Sie eines, zum "
              "Beispiel xterm (unter Debian und Ubuntu mit: sudo apt install xterm).");
}

TEST_F(PosixLauncherTest, ATerminalThatFailsAtOnceIsReported)
{
    writeProgram(m_dir / "bin/no-display", "exit 3\n");
    const std::string compile = script("Kelvane");
    PosixLauncher l = launcher({{m_dir / "bin/no-display", {"-e"}}});
    EXPECT_EQ(l.startScript(onDriveZ(compile))->message,
              "Das Programm \"" + m_dir.path() +
                  "/bin/no-display\" hat sich gleich nach dem Start mit dem Status 3 beendet. "
                  "Läuft eine grafische Sitzung, in der es ein Fenster öffnen kann?");
}

TEST_F(PosixLauncherTest, ReturnsWhileTheTerminalStillRuns)
{
    writeProgram(m_dir / "bin/lingering", "echo $$ > " +
                                              quotedForShell(m_dir / "records/lingering.pid") +
                                              "\nexec sleep 60\n");
    const std::string compile = script("Kelvane");
    PosixLauncher l = launcher({{m_dir / "bin/lingering", {"-e"}}});
    l.setStartupGrace(std::chrono::milliseconds(50));
    EXPECT_EQ(l.startScript(onDriveZ(compile)), std::nullopt);

    const auto pid = waitForFile(m_dir / "records/lingering.pid");
    ASSERT_TRUE(pid);
    EXPECT_EQ(::kill(std::stoi(*pid), 0), 0) << "still running after the start returned";
    ::kill(std::stoi(*pid), SIGTERM);
}

TEST_F(PosixLauncherTest, RefusesWhatItCannotStart)
{
    PosixLauncher l = launcher();
    EXPECT_EQ(l.startScript("Q:\\nowhere\\compile.bat")->message,
              "Die Datei \"Q:\\nowhere\\compile.bat\" wurde nicht gefunden.");
    EXPECT_EQ(l.startScript(onDriveZ(m_dir / "compile.bat"))->message,
              "Die Datei \"" + onDriveZ(m_dir / "compile.bat") + "\" wurde nicht gefunden.");

    const std::string quoted = script("Kelvane \"q\"");
    EXPECT_EQ(l.startScript(onDriveZ(quoted))->message,
              "Wine kann compile.bat im Verzeichnis \"" + onDriveZ(m_dir / "Kelvane \"q\"") +
                  "\" nicht starten, weil sein Pfad das Zeichen \" enthält, das in "
                  "Windows-Pfaden nicht erlaubt ist.");

    test::makeDirectory(m_dir / "Kelvane");
    test::writeBytes(m_dir / "Kelvane/a&b.bat", "");
    EXPECT_EQ(l.startScript(onDriveZ(m_dir / "Kelvane/a&b.bat"))->message,
              "Das Skript \"" + onDriveZ(m_dir / "Kelvane/a&b.bat") +
                  "\" kann nicht gestartet werden: Sein Name darf nur aus Buchstaben, Ziffern, "
                  "Punkt, Binde- und Unterstrich bestehen.");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(recorded("terminal"));
}

TEST_F(PosixLauncherTest, StartsAProgramWithWineAsOneArgument)
{
    test::makeDirectory(m_dir / kHostileName);
    const std::string program = m_dir / (std::string(kHostileName) + "/MSINFO32.EXE");
    test::writeBytes(program, "");
    EXPECT_EQ(launcher().startProgram(onDriveZ(program)), std::nullopt);
    EXPECT_EQ(arguments("wine"), std::vector<std::string>{program});
    EXPECT_EQ(workingDirectory("wine"), m_dir / kHostileName);
}

TEST(PosixLauncherLocaleTest, TakesTheFirstSetOfLcAllLcCtypeAndLang)
{
    EXPECT_EQ(PosixLauncher::wineLocale("en_US.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8"),
              "en_US.UTF-8");
    EXPECT_EQ(PosixLauncher::wineLocale("", "de_DE.UTF-8", "en_US.UTF-8"), "de_DE.UTF-8");
    EXPECT_EQ(PosixLauncher::wineLocale(nullptr, nullptr, "de_DE.UTF-8"), "de_DE.UTF-8");
    EXPECT_EQ(PosixLauncher::wineLocale(nullptr, "", nullptr), "C");
}

bool localeInstalled(const char *name)
{
    const locale_t l = ::newlocale(LC_ALL_MASK, name, static_cast<locale_t>(0));
    if (l)
        ::freelocale(l);
    return l != static_cast<locale_t>(0);
}

TEST(PosixLauncherLocaleTest, ReadsTheCodePageFromTheEnvironment)
{
    test::ScopedEnvironment lcAll("LC_ALL", std::nullopt);
    test::ScopedEnvironment lcCtype("LC_CTYPE", std::nullopt);
    test::ScopedEnvironment lcMessages("LC_MESSAGES", std::nullopt);
    {
        test::ScopedEnvironment lang("LANG", "C.UTF-8");
        EXPECT_EQ(PosixLauncher::codePageFromEnvironment(), 437u);
    }
    {
        test::ScopedEnvironment lang("LANG", "xx_NOWHERE.UTF-8");
        EXPECT_EQ(PosixLauncher::codePageFromEnvironment(), 437u) << "an unknown locale is C";
    }
    if (!localeInstalled("de_DE.UTF-8") || !localeInstalled("en_US.UTF-8"))
        GTEST_SKIP() << "needs the de_DE.UTF-8 and en_US.UTF-8 locales";
    {
        test::ScopedEnvironment lang("LANG", "de_DE.UTF-8");
        EXPECT_EQ(PosixLauncher::codePageFromEnvironment(), 850u);
    }
    {
        test::ScopedEnvironment lang("LANG", "de_DE.UTF-8");
        test::ScopedEnvironment all("LC_ALL", "en_US.UTF-8");
        EXPECT_EQ(PosixLauncher::codePageFromEnvironment(), 437u);
    }
    {
        test::ScopedEnvironment lang("LANG", "en_US.UTF-8");
        test::ScopedEnvironment ctype("LC_CTYPE", "de_DE.UTF-8");
        EXPECT_EQ(PosixLauncher::codePageFromEnvironment(), 850u);
    }
}

// With Wine installed, the script really runs: a terminal stand-in that runs its command as
// given hands it to Wine's cmd, in a directory whose name cmd would otherwise split.
TEST_F(PosixLauncherTest, WinesInterpreterRunsTheScriptInItsDirectory)
{
    const char *pathVariable = std::getenv("PATH");
    bool haveWine = false;
    for (std::string_view rest = pathVariable ? pathVariable : ""; !haveWine && !rest.empty();) {
        const auto cut = std::min(rest.find(':'), rest.size());
        haveWine = ::access((std::string(rest.substr(0, cut)) + "/wine").c_str(), X_OK) == 0;
        rest.remove_prefix(std::min(cut + 1, rest.size()));
    }
    if (!haveWine)
        GTEST_SKIP() << "Wine is not installed";

    test::ScopedEnvironment prefix("WINEPREFIX", m_dir / "wine prefix");
    test::ScopedEnvironment quiet("WINEDEBUG", "-all");
    writeProgram(m_dir / "bin/running terminal",
                 "shift\nexec \"$@\" > " + quotedForShell(m_dir / "records/output") + " 2>&1\n");
    const std::string directory = "Kelvane 'q' $(touch pwned); & mkdir injected & (x86) ^ %OS%";
    const std::string compile = script(directory);
    // "cd" prints the working directory without the script naming it.
    test::writeBytes(compile, "@echo off\r\ncd> result.tmp\r\nren result.tmp result.txt");

    PosixLauncher l(WineDrives(std::nullopt), {{m_dir / "bin/running terminal", {"-e"}}}, "wine",
                    437);
    ASSERT_EQ(l.startScript(onDriveZ(compile)), std::nullopt);
    const auto result = waitForFile(m_dir / (directory + "/result.txt"), std::chrono::seconds(180));
    ASSERT_TRUE(result) << test::readBytes(m_dir / "records/output");
    EXPECT_EQ(*result, onDriveZ(m_dir / directory) + "\r\n");
    EXPECT_FALSE(std::filesystem::exists(m_dir / (directory + "/pwned")));
    EXPECT_FALSE(std::filesystem::exists(m_dir / (directory + "/injected")));
    EXPECT_FALSE(std::filesystem::exists(m_dir / "injected"));
    // Wine's server keeps the prefix open for a moment; let it go before the files do.
    EXPECT_EQ(std::system("wineserver -w"), 0);
}

} // namespace
} // namespace kelvane

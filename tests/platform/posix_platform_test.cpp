// The Linux platform through Wine's drives, with stand-ins for the terminal, Wine and the opener.

#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_launcher.h"
#include "platform/posix/posix_opener.h"
#include "platform/posix/posix_program.h"
#include "platform/posix/posix_system_information.h"
#include "platform/posix/posix_text_file.h"
#include "platform/posix/wine_paths.h"
#include "platform/temp_dir.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <tuple>
#include <unistd.h>

namespace kelvane {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using test::makeDirectory;
using test::messageOf;
using test::onDriveZ;
using test::readBytes;
using test::writeBytes;
using Names = std::vector<std::string>;
namespace fs = std::filesystem;

Names sorted(Names names)
{
    std::sort(names.begin(), names.end());
    return names;
}

Names namesIn(const std::string &dir)
{
    Names names;
    for (const auto &entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    return sorted(names);
}

Names listTexts(const WineDrives &drives)
{
    Names texts;
    for (const WineDrive &drive : drives.drives())
        texts.push_back(WineDrives::listText(drive));
    return texts;
}

// Waits for what a stand-in records. The deadline only keeps a broken run from hanging.
std::optional<std::string> waitForFile(const std::string &path)
{
    for (const auto end = std::chrono::steady_clock::now() + 20s;
         std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(10ms)) {
        if (fs::exists(path))
            return readBytes(path);
    }
    return std::nullopt;
}

// A program directory whose name means something to a shell and to cmd.
constexpr const char *kHostileName = "Kelvane 'q' $(touch pwned); & ^ (x86) %OS% !x!";

// A prefix as Wine sets one up (C: through a relative link, D: on a CD not mounted, Z: on the
// root). The stand-ins record their arguments, each ended by a NUL, and their working
// directory, renamed into place whole; the terminal then runs what follows its "-e".
class PosixPlatformTest : public ::testing::Test
{
protected:
    PosixPlatformTest()
    {
        makeDirectory(dosdevices());
        makeDirectory(driveC() + "/windows");
        fs::create_symlink("../drive_c", dosdevices() + "/c:");
        fs::create_symlink(m_dir / "media/cdrom", dosdevices() + "/d:");
        fs::create_symlink("/", dosdevices() + "/z:");
        makeDirectory(m_dir / "records");
        makeDirectory(m_dir / "bin");
        standIn("terminal", "while [ \"$#\" -gt 0 ] && [ \"$1\" != -e ]; do shift; done\n"
                            "shift\nexec \"$@\"\n");
        standIn("wine");
        standIn("opener");
    }

    std::string dosdevices() const { return m_dir / "prefix/dosdevices"; }
    std::string driveC() const { return m_dir / "prefix/drive_c"; }
    WineDrives drives() const { return WineDrives(m_dir / "prefix"); }
    std::string dos(std::string_view name) const { return onDriveZ(m_dir / name); }
    std::string bin(const std::string &name) const { return m_dir / ("bin/" + name); }
    void writeProgram(const std::string &name, const std::string &body) const
    {
        writeBytes(bin(name), "#!/bin/sh\n" + body);
        ::chmod(bin(name).c_str(), 0755);
    }
    void standIn(const std::string &name, const std::string &then = "") const
    {
        const std::string base = "'" + m_dir / ("records/" + name) + "'";
        writeProgram(name, "printf '%s\\0' \"$@\" > " + base + ".argv.part\npwd -P > " + base +
                               ".cwd\n/bin/mv " + base + ".argv.part " + base + ".argv\n" + then);
    }
    // What the stand-in was handed once it has run; the record goes for the next start.
    Names arguments(const std::string &name) const
    {
        const std::string record = m_dir / ("records/" + name + ".argv");
        const std::string bytes = waitForFile(record).value_or("");
        fs::remove(record);
        Names args;
        for (std::size_t at = 0, end; (end = bytes.find('\0', at)) != std::string::npos;
             at = end + 1)
            args.push_back(bytes.substr(at, end - at));
        return args;
    }
    // compile.bat in a program directory of its own, by its DOS path.
    std::string script(const std::string &directoryName) const
    {
        makeDirectory(m_dir / directoryName);
        writeBytes(m_dir / (directoryName + "/compile.bat"), "@echo off");
        return dos(directoryName + "/compile.bat");
    }
    PosixLauncher launcher(std::vector<TerminalProgram> terminals, const std::string &wine) const
    {
        PosixLauncher l(WineDrives(std::nullopt), std::move(terminals), wine, 850);
        l.setStartupGrace(20s);
        return l;
    }

    test::TempDir m_dir;
};

// Drives are the single-letter links in the prefix, one whose directory is gone included; a path
// converts through the drive that covers the most of it.
TEST_F(PosixPlatformTest, MapsDrivesFromThePrefixAndConvertsPathsThroughThem)
{
    const std::string c = driveC();
    makeDirectory(m_dir / "prefix/drive_c_old");
    fs::create_symlink(c + "/windows", m_dir / "shortcut");
    const WineDrives wine = drives();
    // A name that merely begins like the drive's directory is not on the drive.
    const std::pair<std::string, std::string> bothWays[] = {
        {"C:\\", c},
        {"D:\\maps", m_dir / "media/cdrom/maps"},
        {dos("prefix/drive_c_old"), m_dir / "prefix/drive_c_old"},
    };
    for (const auto &[dosPath, unixPath] : bothWays) {
        EXPECT_EQ(wine.toUnix(dosPath), unixPath);
        EXPECT_EQ(wine.toDos(unixPath), dosPath);
    }
    // ".." never leaves the drive, either slash separates, links are resolved first; what names
    // no drive, or what no DOS path can hold, is refused.
    EXPECT_EQ(wine.toUnix("C:\\windows\\..\\..\\..\\x"), c + "/x");
    EXPECT_EQ(wine.toUnix("Z:/home//me\\"), "/home/me");
    EXPECT_EQ(wine.toDos(m_dir / "shortcut/x.map"), "C:\\windows\\x.map");
    for (const char *path : {"Q:\\maps", "\\\\server\\share", "maps\\x.map"})
        EXPECT_EQ(wine.toUnix(path), std::nullopt) << path;
    EXPECT_EQ(wine.toDos(c + "/back\\slash"), std::nullopt);

    EXPECT_EQ(listTexts(drives()), (Names{"c: [drive_c]", "d: [cdrom]", "z: [/]"}));
    fs::remove(dosdevices() + "/z:");
    EXPECT_EQ(drives().toDos("/usr/bin"), std::nullopt);

    // Without drives in the prefix (or without a prefix), the root is drive Z:.
    for (const char *link : {"/c:", "/d:"})
        fs::remove(dosdevices() + link);
    EXPECT_EQ(listTexts(drives()), Names{"z: [/]"});
    EXPECT_EQ(drives().toUnix("Z:\\home\\me"), "/home/me");
}

// Links count as what they point to; a read in the background finds the same.
TEST_F(PosixPlatformTest, ListsDirectoriesAndFilesApartWithLinksAsWhatTheyPointTo)
{
    const std::string dir = m_dir / "maps";
    for (const char *name : {"/sub", "/.versteckt", "/Mit Leerzeichen ä", "/a\\b"})
        makeDirectory(dir + name);
    for (const char *name : {"/karte.map", "/Größe.bsp", "/c\\d.map"})
        writeBytes(dir + name, "");
    fs::create_symlink(dir + "/sub", dir + "/link to dir");
    fs::create_symlink(dir + "/karte.map", dir + "/link to file");
    fs::create_symlink(dir + "/gone", dir + "/dangling");
    ASSERT_EQ(::mkfifo((dir + "/pipe").c_str(), 0600), 0);
    const Names directories = {".versteckt", "Mit Leerzeichen ä", "link to dir", "sub"};
    const Names plainFiles = {"Größe.bsp", "karte.map", "link to file"};
    PosixFileSystem files(drives());
    const FolderContents listed = files.contents(dos("maps"));
    EXPECT_EQ(sorted(listed.directories), directories);
    EXPECT_EQ(sorted(listed.files), plainFiles);
    EXPECT_TRUE(files.directoryExists(dos("maps/link to dir")) &&
                !files.fileExists(dos("maps/link to dir")));
    EXPECT_EQ(files.canRead(dos("maps")), std::nullopt);
}

TEST_F(PosixPlatformTest, TheWriterReplacesTheFileWholeKeepingItsModeAndLinks)
{
    PosixTextFileWriter writer{drives()};
    const std::string bytes = "@echo off\r\nhlcsg \"C:\\Größe\\a b.map\"\r\n\0x"s;
    EXPECT_EQ(writer.writeFile("C:\\compile.bat", bytes), std::nullopt);
    EXPECT_EQ(readBytes(driveC() + "/compile.bat"), bytes);
    ASSERT_EQ(::chmod((driveC() + "/compile.bat").c_str(), 0751), 0);
    fs::create_symlink(driveC() + "/compile.bat", driveC() + "/link.bat");
    EXPECT_EQ(writer.writeFile("C:\\link.bat", "kurz"), std::nullopt);
    EXPECT_EQ(readBytes(driveC() + "/compile.bat"), "kurz");
    EXPECT_TRUE(fs::is_symlink(driveC() + "/link.bat"));
    EXPECT_EQ(fs::status(driveC() + "/compile.bat").permissions(), fs::perms(0751));
    EXPECT_EQ(namesIn(driveC()), (Names{"compile.bat", "link.bat", "windows"}));
}

// Each failure names the place, as a Linux user finds it, and the reason; a failed write leaves
// the old file as it was.
TEST_F(PosixPlatformTest, SaysWhyAListingOrAWriteFails)
{
    writeBytes(m_dir / "afile", "");
    makeDirectory(m_dir / "ordner");
    makeDirectory(m_dir / "geheim/innen");
    ASSERT_EQ(::chmod((m_dir / "geheim").c_str(), 0), 0);
    makeDirectory(m_dir / "nur lesen");
    writeBytes(m_dir / "nur lesen/compile.bat", "alt");
    ASSERT_EQ(::chmod((m_dir / "nur lesen").c_str(), 0555), 0);
    const std::string denied = "Der Zugriff wurde verweigert.";
    const auto unreadable = [&](const std::string &shown, const std::string &reason) {
        return "Das Verzeichnis \"" + shown + "\" kann nicht gelesen werden: " + reason;
    };
    std::vector<std::pair<std::string, std::string>> listings = {
        {"d:", "Auf das Laufwerk D: kann nicht zugegriffen werden."},
        {dos("fehlt"), unreadable(m_dir / "fehlt", "Der Pfad ist nicht vorhanden.")},
    };
    // Written to, named in the message, and why not.
    std::vector<std::tuple<std::string, std::string, std::string>> writes = {
        {dos("ordner"), m_dir / "ordner", "Unter diesem Namen gibt es bereits ein Verzeichnis."},
        {"Q:\\compile.bat", "Q:\\compile.bat", "Das Laufwerk Q: gibt es nicht."},
        {"compile.bat", "compile.bat", "Der Pfad beginnt nicht mit einem Laufwerk."},
    };
    if (::geteuid() != 0) { // permissions do not stop the superuser
        listings.emplace_back(dos("geheim"), unreadable(m_dir / "geheim", denied));
        writes.emplace_back(dos("nur lesen/compile.bat"), m_dir / "nur lesen/compile.bat", denied);
    }
    PosixFileSystem files(drives());
    for (const auto &[path, message] : listings) { // the lists are cut from the contents
        EXPECT_EQ(messageOf(files.canRead(path)), message);
        const FolderContents contents = files.contents(path);
        EXPECT_EQ(messageOf(contents.failure), message);
        EXPECT_TRUE(contents.directories.empty() && contents.files.empty()) << path;
    }
    PosixTextFileWriter writer{drives()};
    for (const auto &[path, shown, reason] : writes)
        EXPECT_EQ(messageOf(writer.writeFile(path, "neu")),
                  "Die Datei \"" + shown + "\" konnte nicht geschrieben werden: " + reason);
    EXPECT_EQ(namesIn(m_dir.path()),
              (Names{"afile", "bin", "geheim", "nur lesen", "ordner", "prefix", "records"}));
    EXPECT_TRUE(fs::is_empty(m_dir / "ordner"));
    EXPECT_EQ(readBytes(m_dir / "nur lesen/compile.bat"), "alt");
    for (const char *name : {"geheim", "nur lesen"}) // so that the directory can go
        fs::permissions(m_dir / name, fs::perms::owner_all);
}

// compile.bat goes beside the program, or where the user may not write there, into the user's
// data directory, made on demand for the user alone. The help lies beside the program, or where
// an installation keeps the program's data.
TEST_F(PosixPlatformTest, TheProgramsDirectoriesAreWhereTheyBelong)
{
    const std::string executable = fs::canonical("/proc/self/exe").string();
    EXPECT_EQ(PosixProgramInfo(drives(), {}).programDirectory(),
              onDriveZ(executable.substr(0, executable.rfind('/'))));
    EXPECT_EQ(PosixProgramInfo(drives(), m_dir / "share/kelvane").userDataDirectory(),
              dos("share/kelvane"));
    EXPECT_EQ(fs::status(m_dir / "share/kelvane").permissions(), fs::perms::owner_all);
    writeBytes(m_dir / "afile", "");
    EXPECT_EQ(PosixProgramInfo(drives(), m_dir / "afile/kelvane").userDataDirectory(), "");

    const std::string bin = m_dir / "usr/bin";
    makeDirectory(bin);
    EXPECT_EQ(PosixProgramInfo::helpDirectoryFor(bin), bin);
    makeDirectory(m_dir / "usr/share/kelvane/hilfe");
    EXPECT_EQ(PosixProgramInfo::helpDirectoryFor(bin), m_dir / "usr/share/kelvane");
}

// Every path is handed over as one argument of its own, never through a shell.
TEST_F(PosixPlatformTest, RunsTheScriptWithWinesInterpreterInItsOwnDirectory)
{
    // The first terminal on the path that does not fail at once is taken, and Wine is found
    // there too.
    const std::string path = std::getenv("PATH");
    ::setenv("PATH", (m_dir / "bin").c_str(), 1);
    writeProgram("failing", "exit 1\n");
    PosixLauncher l = launcher({{"kelvane-no-terminal", {"-e"}},
                                {"failing", {"-e"}},
                                {"terminal", {"-T", "Kelvane", "-e"}}},
                               "wine");
    EXPECT_EQ(l.startScript(script(kHostileName)), std::nullopt);
    EXPECT_EQ(arguments("terminal"),
              (Names{"-T", "Kelvane", "-e", bin("wine"), "cmd", "/k", "compile.bat"}));
    EXPECT_EQ(arguments("wine"), (Names{"cmd", "/k", "compile.bat"}));
    EXPECT_EQ(readBytes(m_dir / "records/wine.cwd"), m_dir / kHostileName + "\n");
    EXPECT_FALSE(fs::exists(m_dir / (std::string(kHostileName) + "/pwned")) || fs::exists("pwned"));

    // A program starts with Wine alone.
    const std::string program = m_dir / (std::string(kHostileName) + "/MSINFO32.EXE");
    writeBytes(program, "");
    EXPECT_EQ(l.startProgram(onDriveZ(program)), std::nullopt);
    ::setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(arguments("wine"), Names{program});
    EXPECT_EQ(readBytes(m_dir / "records/wine.cwd"), m_dir / kHostileName + "\n");

    // The opener gets a document's Unix path.
    PosixDesktopOpener opener(WineDrives(std::nullopt), bin("opener"));
    const std::string document = m_dir / "Hilfe; $(rm -rf) 'ä' \"x\".pdf";
    writeBytes(document, "");
    EXPECT_EQ(opener.openDocument(onDriveZ(document)), std::nullopt);
    EXPECT_EQ(arguments("opener"), Names{document});

    // Looks without collecting: once all are gone, this process has no child at all.
    bool childLeft = true;
    for (const auto end = std::chrono::steady_clock::now() + 20s;
         childLeft && std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(10ms)) {
        siginfo_t info{};
        childLeft = ::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) == 0 || errno != ECHILD;
    }
    EXPECT_FALSE(childLeft);
}

TEST_F(PosixPlatformTest, SaysWhyItCannotStartAndStartsNothing)
{
    writeProgram("no-display", "exit 3\n");
    const std::string compile = script("Kelvane");
    const std::string quoted = script("Kelvane \"q\"");
    writeBytes(m_dir / "Kelvane/a&b.bat", "");
    const std::vector<TerminalProgram> terminal{{bin("terminal"), {"-e"}}};
    PosixDesktopOpener opener(WineDrives(std::nullopt), bin("opener"));
    const std::pair<Outcome, std::string> rows[] = {
        {launcher(terminal, bin("no-wine")).startScript(compile),
         "Wine wurde nicht gefunden. Unter Linux laufen compile.bat, die Compiler und andere "
         "Windows-Programme mit Wine; bitte installieren Sie es (unter Debian und Ubuntu mit: "
         "sudo apt install wine)."},
        {launcher({{"kelvane-no-such-terminal", {"-e"}}, {"nor-this-one", {"-x"}}}, bin("wine"))
             .startScript(compile),
         "Es wurde kein Terminal gefunden, in dem compile.bat laufen kann (gesucht: "
         "kelvane-no-such-terminal, nor-this-one). Bitte installieren Sie eines, zum Beispiel "
         "xterm (unter Debian und Ubuntu mit: sudo apt install xterm)."},
        {launcher({{bin("no-display"), {"-e"}}}, bin("wine")).startScript(compile),
         "Das Programm \"" + bin("no-display") +
             "\" hat sich gleich nach dem Start mit dem Status 3 beendet. Läuft eine grafische "
             "Sitzung, in der es ein Fenster öffnen kann?"},
        {launcher(terminal, bin("wine")).startScript(dos("compile.bat")),
         "Die Datei \"" + m_dir / "compile.bat" + "\" wurde nicht gefunden."},
        {launcher(terminal, bin("wine")).startScript(quoted),
         "Wine kann compile.bat im Verzeichnis \"" + m_dir / "Kelvane \"q\"" +
             "\" nicht starten, weil sein Pfad das Zeichen \" enthält, das in Windows-Pfaden "
             "nicht erlaubt ist."},
        {launcher(terminal, bin("wine")).startScript(dos("Kelvane/a&b.bat")),
         "Das Skript \"" + m_dir / "Kelvane/a&b.bat" +
             "\" kann nicht gestartet werden: Sein Name darf nur aus Buchstaben, Ziffern, Punkt, "
             "Binde- und Unterstrich bestehen."},
        {PosixDesktopOpener(WineDrives(std::nullopt), "kelvane-no-opener").openUrl("https://a.de"),
         "Das Programm \"kelvane-no-opener\" wurde nicht gefunden. Es wird gebraucht, um "
         "Dokumente und Webseiten mit dem Programm zu öffnen, das der Desktop dafür vorsieht "
         "(unter Debian und Ubuntu mit: sudo apt install xdg-utils)."},
        {PosixSystemInformation({"kelvane-no-such-info"}).startDesktopProgram(),
         "Es wurde kein Programm gefunden, das Systeminformationen zeigt."},
        // It would read as an option.
        {opener.openUrl("--manual"), "Die Adresse \"--manual\" kann nicht geöffnet werden."},
    };
    for (const auto &[outcome, message] : rows)
        EXPECT_EQ(messageOf(outcome), message);
    std::this_thread::sleep_for(100ms);
    EXPECT_FALSE(fs::exists(m_dir / "records/terminal.argv"));
    EXPECT_FALSE(fs::exists(m_dir / "records/opener.argv"));
}

TEST_F(PosixPlatformTest, ReturnsWhileTheTerminalStillRuns)
{
    const std::string pid = "'" + m_dir / "records/pid" + "'";
    writeProgram("lingering", "echo $$ > " + pid + ".part\n/bin/mv " + pid + ".part " + pid +
                                  "\nexec sleep 60\n");
    PosixLauncher l = launcher({{bin("lingering"), {"-e"}}}, bin("wine"));
    l.setStartupGrace(50ms);
    EXPECT_EQ(l.startScript(script("Kelvane")), std::nullopt);
    const int running = std::stoi(waitForFile(m_dir / "records/pid").value_or("0"));
    ASSERT_GT(running, 0);
    EXPECT_EQ(::kill(running, 0), 0) << "still running after the start returned";
    ::kill(running, SIGTERM);
}

} // namespace
} // namespace kelvane

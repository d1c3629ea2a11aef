#include "platform/posix/file_hive.h"
#include "platform/temp_dir.h"
#include "settings/reg_file_format.h"
#include "settings/registry.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kelvane {
namespace {

using namespace std::string_literals;
using test::fsPath;
using test::readBytes;
using test::writeBytes;
namespace fs = std::filesystem;
using Kind = SettingsProblem::Kind;

const std::string kCsg = windowKeyPath("Csg");
const std::string kBsp = windowKeyPath("Bsp");

// What a fresh instance reads from the file.
std::string readFresh(const std::string &path, const std::string &key,
                      const std::string &name = "chart")
{
    FileHiveBackend store(path);
    return Registry(store).ReadValue(kCurrentUser, key, name);
}

// The one problem the store has to tell.
SettingsProblem oneProblem(FileHiveBackend &store, Kind kind, const std::string &reason)
{
    const std::vector<SettingsProblem> problems = store.takeProblems();
    EXPECT_TRUE(problems.size() == 1 && problems[0].kind == kind && problems[0].reason == reason)
        << problems.size()
        << " problems, the first: " << (problems.empty() ? "" : problems[0].reason);
    return problems.empty() ? SettingsProblem{} : problems[0];
}

// Saves 50 values of the same text in one batch, as a window does: a torn save shows as mixed
// values.
void saveWindow(Registry &reg, const std::string &key, const std::string &text)
{
    Registry::Batch batch(reg);
    for (int i = 0; i < 50; ++i)
        reg.SaveString(kCurrentUser, key, "value" + std::to_string(i), text);
}

void expectWholeWindows(const std::string &path, const std::vector<std::string> &keys)
{
    RegFileContent content = parseRegFile(readBytes(path).value_or(""));
    ASSERT_FALSE(content.error) << content.error->line << ": " << content.error->message;
    for (const std::string &key : keys) {
        const RegNode *window = content.roots[kCurrentUserRoot].find(key);
        ASSERT_TRUE(window && window->values().size() == 50u) << key;
        for (const StoredValue &value : window->values())
            EXPECT_EQ(value.data, window->values().front().data) << key << ' ' << value.name;
    }
}

class FileHiveBackendTest : public ::testing::Test
{
protected:
    test::TempDir dir;
    const std::string path = dir / "settings.reg";
    FileHiveBackend backend{path};
    Registry reg{backend};
};

// The lost update: what another instance writes during a batch must survive the batch's save.
TEST_F(FileHiveBackendTest, ReplacesTheFileOncePerBatchKeepingWhatOthersWroteMeanwhile)
{
    reg.SaveString(kCurrentUser, kCsg + "\\Chart", "chart", "old");
    const int before = backend.fileReplaceCount();
    {
        Registry::Batch outer(reg);
        saveWindow(reg, kCsg, "1");
        saveWindow(reg, kBsp, "2");

        FileHiveBackend other(path);
        Registry(other).SaveString(kCurrentUser, kCsg + "\\Chart", "chart", "new");
        EXPECT_EQ(reg.ReadValue(kCurrentUser, kCsg + "\\Chart", "chart"), "new");
        EXPECT_EQ(reg.ReadValue(kCurrentUser, kBsp, "value49"), "2");
    }
    EXPECT_EQ(backend.fileReplaceCount(), before + 1);
    expectWholeWindows(path, {kCsg, kBsp});
    EXPECT_EQ(readFresh(path, kCsg + "\\Chart"), "new");
}

// An unreadable file is moved aside when first read, under a name of its own, and the user is
// told where and why; the store reads as empty and the next save writes a new file.
TEST_F(FileHiveBackendTest, SetsAsideAnUnreadableFileWhenFirstReadAndTellsWhere)
{
    const std::string garbage = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\"a\"=hex:zz\n";
    writeBytes(path, garbage);
    EXPECT_FALSE(reg.KeyExists(kCurrentUser, "Software"));
    const SettingsProblem first =
        oneProblem(backend, Kind::SetAside, "Zeile 4 ist kein gültiger Eintrag.");
    EXPECT_EQ(first.file, path);
    EXPECT_TRUE(first.keptAs.starts_with(path + ".unreadable-")) << first.keptAs;
    EXPECT_EQ(readBytes(first.keptAs), garbage);
    EXPECT_FALSE(readBytes(path));
    saveWindow(reg, kCsg, "7");
    expectWholeWindows(path, {kCsg});

    writeBytes(path, "second junk");
    reg.SaveString(kCurrentUser, kCsg, "chart", "2");
    const SettingsProblem second =
        oneProblem(backend, Kind::SetAside, "Zeile 1 ist kein gültiger Eintrag.");
    EXPECT_NE(second.keptAs, first.keptAs);
    EXPECT_EQ(readBytes(second.keptAs), "second junk");
    EXPECT_EQ(readBytes(first.keptAs), garbage);
    // The store forgets the keys of the file it could not read, not those it wrote since.
    EXPECT_EQ(reg.ReadValue(kCurrentUser, kCsg, "chart"), "2");

    // A file too large to read is set aside too.
    writeBytes(path, "REGEDIT4\n");
    fs::resize_file(fsPath(path), (64u << 20) + 1);
    EXPECT_FALSE(reg.KeyExists(kCurrentUser, kCsg));
    EXPECT_TRUE(fs::exists(
        fsPath(oneProblem(backend, Kind::SetAside, "Die Datei ist größer als 64 MB.").keptAs)));
}

// A save that cannot be written is told once; its values stay in memory, and the next save that
// works writes them all.
TEST_F(FileHiveBackendTest, TellsOfAFailedSaveOnceAndWritesItsValuesLater)
{
    const std::string blocker = dir / "config";
    writeBytes(blocker, "a file where the folder should be");
    const std::string file = blocker + "/kelvane/settings.reg";
    FileHiveBackend store(file);
    Registry own(store);
    saveWindow(own, kCsg, "1");
    own.SaveString(kCurrentUser, kBsp, "chart", "2");
    EXPECT_EQ(oneProblem(store, Kind::SaveFailed, "Ein Teil des Pfades ist kein Verzeichnis.").file,
              file);

    fs::remove(fsPath(blocker));
    own.SaveString(kCurrentUser, kBsp, "other", "3");
    EXPECT_TRUE(store.takeProblems().empty());
    expectWholeWindows(file, {kCsg});
    EXPECT_EQ(readFresh(file, kBsp), "2");
    EXPECT_EQ(readFresh(file, kBsp, "other"), "3");
}

// Keys as deep and names as long as the registry allows, and no more; no line breaks or tabs in
// names. Each key's section
// repeats its whole path, so a small file can grow past what is read back: such a save is
// refused and the old file stays.
TEST_F(FileHiveBackendTest, NeverWritesAFileItWouldRefuseToRead)
{
    std::string deep = "k", below; // 512 levels; 511 names of 255 characters below a key
    for (int level = 1; level < 512; ++level)
        deep += "\\k", below += "\\" + std::string(255, 'n');
    {
        Registry::Batch batch(reg);
        reg.SaveString(kCurrentUser, deep, "v", "1");
    }
    EXPECT_EQ(readFresh(path, deep, "v"), "1");
    reg.SaveString(kCurrentUser, deep + "\\k", "v", "1");
    EXPECT_FALSE(reg.KeyExists(kCurrentUser, deep + "\\k"));
    reg.SaveString(kCurrentUser, std::string(256, 'n'), "v", "1");
    EXPECT_FALSE(reg.KeyExists(kCurrentUser, std::string(256, 'n')));
    reg.SaveString(kCurrentUser, kCsg, std::string(16384, 'n'), "1");
    EXPECT_EQ(reg.ReadValue(kCurrentUser, kCsg, std::string(16384, 'n')), "");
    reg.SaveString(kCurrentUser, kCsg, "line\nbreak", "1");
    reg.SaveString(kCurrentUser, kCsg + "\\tab\there", "chart", "1");
    EXPECT_EQ(readFresh(path, kCsg, "line\nbreak"), "");
    EXPECT_FALSE(reg.KeyExists(kCurrentUser, kCsg + "\\tab\there"));
    EXPECT_TRUE(backend.takeProblems().empty());

    // Three keys 512 levels deep with names of 255 characters: 393 KB to read, 100 MB to write.
    std::string text = "REGEDIT4\n\n";
    for (const char *top : {"A", "B", "C"})
        text += "[HKEY_CURRENT_USER\\"s + top + below + "]\n\"v\"=\"1\"\n\n";
    writeBytes(path, text);
    FileHiveBackend store(path);
    Registry own(store);
    EXPECT_EQ(own.ReadValue(kCurrentUser, "A" + below, "v"), "1");
    own.SaveString(kCurrentUser, kCsg, "chart", "1");
    EXPECT_TRUE(readBytes(path) == text);
    oneProblem(store, Kind::SaveFailed,
               "Die Einstellungen wären größer als 64 MB und könnten nicht wieder gelesen werden.");
}

// Dotfile managers leave a link in the settings file's place: the link stays, and the file it
// points to is replaced as a whole.
TEST_F(FileHiveBackendTest, ReplacesTheFileALinkPointsToAndKeepsTheLink)
{
    test::makeDirectory(dir / "dotfiles");
    const std::string target = dir / "dotfiles/settings.reg";
    const std::string linkTarget = "dotfiles/settings.reg";
    for (const bool targetExists : {true, false}) {
        SCOPED_TRACE(targetExists ? "the target is there" : "dangling");
        fs::remove(fsPath(path));
        fs::remove(fsPath(target));
        if (targetExists)
            writeBytes(target, "REGEDIT4\n\n[HKEY_CURRENT_USER\\Kept]\n\"x\"=\"1\"\n");
        fs::create_symlink(fsPath(linkTarget), fsPath(path));
        {
            FileHiveBackend store(path);
            Registry(store).SaveString(kCurrentUser, kCsg, "chart", linkTarget);
        }
        EXPECT_EQ(fs::read_symlink(fsPath(path)), fsPath(linkTarget));
        EXPECT_EQ(readFresh(target, kCsg), linkTarget);
        EXPECT_EQ(readFresh(target, "Kept", "x"), targetExists ? "1" : "");
        EXPECT_FALSE(fs::exists(fsPath(target + ".tmp")));
    }
}

TEST_F(FileHiveBackendTest, AnInstanceKilledWhileSavingLeavesOnlyWholeWindows)
{
    std::mt19937 random(20240611);
    for (int round = 0; round < 50 && !HasFailure(); ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            FileHiveBackend store(path);
            Registry own(store);
            for (long generation = round * 100000L;; ++generation) {
                saveWindow(own, kCsg, std::to_string(generation));
                saveWindow(own, kBsp, std::to_string(generation));
                (void)!::write(ready[1], "", 1);
            }
        }
        ::close(ready[1]);
        // Once both windows were saved, the kill may come at any moment.
        char saved = 0;
        const bool started = ::read(ready[0], &saved, 1) == 1;
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 4000));
        ::kill(child, SIGKILL);
        ::close(ready[0]);
        int status = 0;
        ASSERT_TRUE(started && ::waitpid(child, &status, 0) == child && WIFSIGNALED(status));
        expectWholeWindows(path, {kCsg, kBsp});
    }
}

TEST_F(FileHiveBackendTest, TwoInstancesSavingAtOnceKeepEachOthersWindows)
{
    constexpr int saves = 25;
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    std::vector<pid_t> children;
    for (const std::string &key : {kCsg, kBsp}) {
        children.push_back(::fork());
        if (children.back() == 0) {
            ::close(start[1]); // both start once the parent closes its end
            char go;
            (void)!::read(start[0], &go, 1);
            FileHiveBackend store(path);
            Registry own(store);
            for (int generation = 1; generation <= saves; ++generation) {
                saveWindow(own, key, std::to_string(generation));
                own.SaveString(kCurrentUser, key + "\\Last", "chart", std::to_string(generation));
            }
            ::_exit(store.fileReplaceCount() >= saves ? 0 : 1);
        }
    }
    ::close(start[0]);
    ::close(start[1]);
    for (const pid_t child : children) {
        int status = 0;
        EXPECT_TRUE(::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
                    WEXITSTATUS(status) == 0);
    }
    expectWholeWindows(path, {kCsg, kBsp});
    for (const std::string &key : {kCsg, kBsp}) {
        EXPECT_EQ(readFresh(path, key, "value0"), std::to_string(saves)) << key;
        EXPECT_EQ(readFresh(path, key + "\\Last"), std::to_string(saves)) << key;
    }
}

// B's saves within the same second leave a file of the same size, time stamps and (reused)
// inode as A's own save, yet A's next save keeps them: on an ext4 with one-second time stamps
// (128-byte inodes) in an image of the test's own, which needs root to mount.
TEST(FileHiveCoarseClockTest, ASaveKeepsWhatAnotherInstanceWroteInTheSameSecond)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting needs root";
    test::TempDir dir;
    const std::string image = dir / "coarse.img", mountPoint = dir / "mnt";
    test::makeDirectory(mountPoint);
    writeBytes(image, "");
    fs::resize_file(fsPath(image), 16u << 20);
    const auto run = [](const std::string &command) { return std::system(command.c_str()); };
    if (run("mkfs.ext4 -q -F -I 128 '" + image + "' 2>/dev/null") != 0)
        GTEST_SKIP() << "mkfs.ext4 is missing or failed";
    if (run("mount -o loop '" + image + "' '" + mountPoint + "' 2>/dev/null") != 0)
        GTEST_SKIP() << "this machine refuses to mount a loop device";
    const std::unique_ptr<const std::string, void (*)(const std::string *)> unmount(
        &mountPoint, [](const std::string *m) { std::system(("umount '" + *m + "'").c_str()); });

    const std::string path = mountPoint + "/settings.reg";
    for (int round = 0; round < 50; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        ::unlink(path.c_str());
        FileHiveBackend a(path), b(path);
        Registry ra(a), rb(b);
        ra.SaveString(kCurrentUser, kCsg, "chart", "aaaa");
        rb.SaveString(kCurrentUser, kCsg, "chart", "bbbb");
        rb.SaveString(kCurrentUser, kCsg, "chart", "cccc");
        ra.SaveString(kCurrentUser, kBsp, "chart", "1");
        ASSERT_EQ(readFresh(path, kCsg), "cccc");
        ASSERT_EQ(readFresh(path, kBsp), "1");
    }
}

} // namespace
} // namespace kelvane

#include "core/registry_typed_test.h"
#include "platform/posix/file_hive.h"
#include "platform/temp_dir.h"
#include "settings/reg_file_format.h"
#include "settings/registry.h"

#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kelvane {
namespace {

using namespace std::string_literals;
using test::readBytes;

const std::string kCsg = windowKeyPath("Csg");
const std::string kBsp = windowKeyPath("Bsp");

// What a fresh instance reads from the file.
std::string readFresh(const std::string &path, const std::string &key, const std::string &name)
{
    FileHiveBackend store(path);
    return Registry(store).ReadValue(kCurrentUser, key, name);
}

// The checks every registry backend passes, on a settings file of the test's own. Another
// program's values are written by a second store on the same file.
struct FileHiveHarness
{
    void putRaw(std::string_view keyPath, std::string_view name, std::uint32_t type,
                std::string_view data)
    {
        FileHiveBackend other(path);
        const RegKey key = other.createKey(kCurrentUserRoot, keyPath, RegAccess::AllAccess);
        other.setValue(key, name, type, data);
        other.closeKey(key);
    }
    bool hasKey(std::string_view keyPath)
    {
        FileHiveBackend other(path);
        const RegKey key = other.openKey(kCurrentUserRoot, keyPath, RegAccess::QueryValue);
        if (key != kInvalidKey)
            other.closeKey(key);
        return key != kInvalidKey;
    }
    std::size_t openKeyCount() const { return backend.openKeyCount(); }

    test::TempDir dir;
    std::string path = dir / "settings.reg";
    FileHiveBackend backend{path};
    std::string base = "Software";
};

INSTANTIATE_TYPED_TEST_SUITE_P(FileHive, RegistryOperationsTest, FileHiveHarness);

// A settings file in a directory of the test's own, and a store on it.
class FileHiveBackendTest : public ::testing::Test
{
protected:
    std::vector<std::string> setAsideFiles() const
    {
        std::vector<std::string> found;
        for (const auto &entry : std::filesystem::directory_iterator(dir.path()))
            if (entry.path().filename().string().starts_with("settings.reg.unreadable-"))
                found.push_back(entry.path().string());
        return found;
    }

    test::TempDir dir;
    const std::string path = dir / "settings.reg";
    FileHiveBackend backend{path};
    Registry reg{backend};
};

// Saves a window of 50 values the way a window's save routine does; every value holds the same
// text, so a torn save shows as a window with mixed values.
void saveWindow(Registry &reg, const std::string &key, const std::string &text)
{
    Registry::Batch batch(reg);
    for (int i = 0; i < 50; ++i)
        reg.SaveString(kCurrentUser, key, "value" + std::to_string(i), text);
}

// Checks that the file reads as a whole and holds each window as one save routine left it.
void expectWholeWindows(const std::string &path, const std::vector<std::string> &keys)
{
    RegFileContent content = parseRegFile(readBytes(path).value_or(""));
    ASSERT_FALSE(content.error) << content.error->line << ": " << content.error->message;
    for (const std::string &key : keys) {
        const RegNode *window = content.roots[kCurrentUserRoot].find(key);
        ASSERT_TRUE(window) << key;
        ASSERT_EQ(window->values.size(), 50u) << key;
        for (const StoredValue &value : window->values)
            EXPECT_EQ(value.data, window->values.front().data) << key << ' ' << value.name;
    }
}

TEST_F(FileHiveBackendTest, EveryValueTypeComesBackByteForByteThroughTheFile)
{
    const std::pair<std::uint32_t, std::string> values[] = {
        {RegType::String, "abc"},
        {RegType::String, ""},
        {RegType::String, "ab\0cd"s},
        {RegType::String, "abc\0"s},
        {RegType::String, "Größe"},
        {RegType::Dword, "\xff\xff\xff\xff"},
        {RegType::Binary, "\x1a\x00\xff"s},
        {RegType::ExpandString, "%HOME%\\maps\0"s},
        {RegType::MultiString, "one\0two\0\0"s}};
    {
        Registry::Batch batch(reg);
        reg.CreateKeyPath(kCurrentUser, kCsg);
        for (std::size_t i = 0; i < std::size(values); ++i)
            reg.WriteValue(kCurrentUser, kCsg, "v" + std::to_string(i), values[i].first,
                           values[i].second, values[i].second.size());
    }
    FileHiveBackend reader(path);
    const RegKey key = reader.openKey(kCurrentUserRoot, kCsg, RegAccess::QueryValue);
    for (std::size_t i = 0; i < std::size(values); ++i) {
        const std::string name = "v" + std::to_string(i);
        const auto info = reader.queryValueInfo(key, name);
        ASSERT_TRUE(info) << name;
        EXPECT_EQ(info->type, values[i].first) << name;
        EXPECT_EQ(info->size, values[i].second.size()) << name;
        EXPECT_EQ(reader.queryValueData(key, name, info->size), values[i].second) << name;
    }
    reader.closeKey(key);
}

// Other roots read as empty and are never written, but their sections stay in the file; names
// that would break the file are refused.
TEST_F(FileHiveBackendTest, WritesOnlyTheCurrentUsersKeysAndNamesTheFileCanHold)
{
    const std::string vendor = "[HKEY_LOCAL_MACHINE\\Software\\Vendor]\n\"x\"=\"1\"\n";
    test::writeBytes(path, "REGEDIT4\n\n" + vendor);
    EXPECT_FALSE(reg.KeyExists(2, "Software\\Vendor"));
    EXPECT_EQ(reg.ReadValue(2, "Software\\Vendor", "x"), "");
    reg.SaveString(2, "Software\\Vendor", "x", "2");
    reg.SaveString(0, "Software\\Vendor", "x", "2");
    EXPECT_EQ(backend.fileReplaceCount(), 0);
    EXPECT_FALSE(reg.KeyExists(0, "Software\\Vendor"));

    reg.SaveString(kCurrentUser, kCsg, "chart", "1");
    reg.SaveString(kCurrentUser, kCsg, "line\nbreak", "1");
    reg.SaveString(kCurrentUser, kCsg + "\\tab\there", "chart", "1");
    EXPECT_EQ(reg.ReadValue(kCurrentUser, kCsg, "line\nbreak"), "");
    EXPECT_FALSE(reg.KeyExists(kCurrentUser, kCsg + "\\tab\there"));
    const std::string text = readBytes(path).value_or("");
    EXPECT_NE(text.find(vendor), std::string::npos) << text;
    EXPECT_FALSE(parseRegFile(text).error) << text;
}

TEST_F(FileHiveBackendTest, ReplacesTheFileOncePerBatchKeepingWhatOthersWroteMeanwhile)
{
    reg.SaveString(kCurrentUser, kCsg + "\\Chart", "chart", "old");
    const int before = backend.fileReplaceCount();
    const auto textBefore = readBytes(path);
    {
        Registry::Batch outer(reg);
        saveWindow(reg, kCsg, "1");
        saveWindow(reg, kBsp, "2");
        // Reads see the batch; the file does not until it ends.
        EXPECT_EQ(reg.ReadValue(kCurrentUser, kCsg, "value49"), "1");
        EXPECT_EQ(readBytes(path), textBefore);
        EXPECT_EQ(backend.fileReplaceCount(), before);

        // What another instance writes meanwhile shows at once and stays.
        FileHiveBackend other(path);
        Registry(other).SaveString(kCurrentUser, kCsg + "\\Chart", "chart", "new");
        EXPECT_EQ(reg.ReadValue(kCurrentUser, kCsg + "\\Chart", "chart"), "new");
        EXPECT_EQ(reg.ReadValue(kCurrentUser, kBsp, "value49"), "2");
    }
    EXPECT_EQ(backend.fileReplaceCount(), before + 1);
    expectWholeWindows(path, {kCsg, kBsp});
    EXPECT_EQ(readFresh(path, kCsg + "\\Chart", "chart"), "new");

    // Outside a batch, each write replaces the file at once.
    reg.SaveString(kCurrentUser, kCsg + "\\Chart", "chart", "3");
    EXPECT_EQ(backend.fileReplaceCount(), before + 2);
    EXPECT_EQ(readFresh(path, kCsg + "\\Chart", "chart"), "3");
}

// An unreadable file reads as empty and stays as it is until the first write, which moves it
// aside under a name of its own and writes the new values in a new file.
TEST_F(FileHiveBackendTest, KeepsEachUnreadableFileAsideBeforeWriting)
{
    const std::string garbage = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\"a\"=hex:zz\n";
    test::writeBytes(path, garbage);
    EXPECT_FALSE(reg.KeyExists(kCurrentUser, "Software"));
    EXPECT_EQ(reg.ReadValue(kCurrentUser, "Software", "a"), "");
    EXPECT_EQ(readBytes(path), garbage);
    EXPECT_FALSE(backend.setAsidePath());
    EXPECT_TRUE(setAsideFiles().empty());

    saveWindow(reg, kCsg, "7");
    const std::string firstAside = backend.setAsidePath().value_or("");
    EXPECT_TRUE(firstAside.starts_with(path + ".unreadable-")) << firstAside;
    EXPECT_EQ(readBytes(firstAside), garbage);
    EXPECT_EQ(setAsideFiles(), std::vector<std::string>{firstAside});
    expectWholeWindows(path, {kCsg});
    EXPECT_EQ(readFresh(path, kCsg, "value49"), "7");

    test::writeBytes(path, "second junk");
    reg.SaveString(kCurrentUser, kCsg, "chart", "2");
    const std::string secondAside = backend.setAsidePath().value_or("");
    EXPECT_NE(secondAside, firstAside);
    EXPECT_EQ(readBytes(secondAside), "second junk");
    EXPECT_EQ(readBytes(firstAside), garbage);
    // The store forgets the keys of the file it could not read, not those it wrote since.
    EXPECT_EQ(reg.ReadValue(kCurrentUser, kCsg, "chart"), "2");
}

TEST_F(FileHiveBackendTest, AnInstanceKilledWhileSavingLeavesOnlyWholeWindows)
{
    std::mt19937 random(20240611);
    for (int round = 0; round < 50; ++round) {
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
        ASSERT_TRUE(started && ::waitpid(child, &status, 0) == child && WIFSIGNALED(status))
            << "round " << round;
        SCOPED_TRACE("round " + std::to_string(round));
        expectWholeWindows(path, {kCsg, kBsp});
        if (HasFailure())
            return;
    }
    EXPECT_FALSE(readFresh(path, kBsp, "value0").empty());
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
            // Starts at the end of the pipe, once the parent has started both.
            ::close(start[1]);
            char go;
            (void)!::read(start[0], &go, 1);
            FileHiveBackend store(path);
            Registry own(store);
            for (int generation = 1; generation <= saves; ++generation) {
                saveWindow(own, key, std::to_string(generation));
                own.SaveString(kCurrentUser, key + "\\Last", "generation",
                               std::to_string(generation));
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
        EXPECT_EQ(readFresh(path, key + "\\Last", "generation"), std::to_string(saves)) << key;
    }
}

} // namespace
} // namespace kelvane

#include "platform/posix/file_hive.h"
#include "settings/reg_file_format.h"
#include "settings/registry.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace kelvane;
using namespace std::string_literals;

namespace {

const std::string kCsg = windowKeyPath("Csg");
const std::string kBsp = windowKeyPath("Bsp");

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::string &path, std::string_view text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

ino_t inodeOf(const std::string &path)
{
    struct stat status;
    return ::stat(path.c_str(), &status) == 0 ? status.st_ino : 0;
}

class FileHiveBackendTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "kelvane-hive-XXXXXX");
        ASSERT_TRUE(::mkdtemp(pattern.data()));
        m_dir = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string dir() const { return m_dir; }
    std::string path() const { return m_dir + "/settings.reg"; }

    std::vector<std::string> setAsideFiles() const
    {
        std::vector<std::string> found;
        for (const auto &entry : std::filesystem::directory_iterator(m_dir))
            if (entry.path().filename().string().starts_with("settings.reg.unreadable-"))
                found.push_back(entry.path().string());
        return found;
    }

private:
    std::string m_dir;
};

// Saves a window of `count` values the way a window's save routine does; every value holds
// the same text, so a torn save shows as a window with mixed values.
void saveWindow(Registry &reg, const std::string &key, const std::string &text, int count = 50)
{
    Registry::Batch batch(reg);
    for (int i = 0; i < count; ++i)
        reg.SaveString(kCurrentUser, key, "value" + std::to_string(i), text);
}

// Checks that the file reads as a whole and holds each window as one save routine left it.
void expectWholeWindows(const std::string &text, const std::vector<std::string> &keys)
{
    RegFileContent content = parseRegFile(text);
    ASSERT_FALSE(content.error) << content.error->line << ": " << content.error->message;
    for (const std::string &key : keys) {
        const RegNode *window = content.roots[kCurrentUserRoot].find(key);
        ASSERT_TRUE(window) << key;
        ASSERT_EQ(window->values.size(), 50u) << key;
        for (const StoredValue &value : window->values)
            EXPECT_EQ(value.data, window->values.front().data) << key << ' ' << value.name;
    }
}

} // namespace

TEST_F(FileHiveBackendTest, ReadsBackEveryValueTypeAsRegistrySays)
{
    const struct
    {
        const char *name;
        std::uint32_t type;
        std::string data;
        const char *read;
    } values[] = {
        {"text", RegType::String, "abc", "abc"},
        {"empty", RegType::String, "", ""},
        {"inner zero", RegType::String, "ab\0cd"s, "ab"},
        {"trailing zero", RegType::String, "abc\0"s, "abc"},
        {"umlauts", RegType::String, "Größe", "Größe"},
        {"dword", RegType::Dword, "\xff\xff\xff\xff", "-1"},
        {"binary", RegType::Binary, "\x1a\x00\xff"s, "1A 00 FF "},
        {"expandable", RegType::ExpandString, "%HOME%\\maps\0"s, "%HOME%\\maps"},
        {"multi", RegType::MultiString, "one\0two\0\0"s, "one"},
    };
    {
        FileHiveBackend writer(path());
        Registry reg(writer);
        Registry::Batch batch(reg);
        reg.CreateKeyPath(kCurrentUser, kCsg);
        for (const auto &v : values)
            reg.WriteValue(kCurrentUser, kCsg, v.name, v.type, v.data, v.data.size());
    }

    FileHiveBackend reader(path());
    Registry reg(reader);
    const RegKey key = reader.openKey(kCurrentUserRoot, kCsg, RegAccess::QueryValue);
    ASSERT_NE(key, kInvalidKey);
    for (const auto &v : values) {
        EXPECT_EQ(reg.ReadValue(kCurrentUser, kCsg, v.name), v.read) << v.name;
        const auto info = reader.queryValueInfo(key, v.name);
        ASSERT_TRUE(info) << v.name;
        EXPECT_EQ(info->type, v.type) << v.name;
        EXPECT_EQ(info->size, v.data.size()) << v.name;
        EXPECT_EQ(reader.queryValueData(key, v.name, v.data.size()), v.data) << v.name;
    }
    reader.closeKey(key);
}

TEST_F(FileHiveBackendTest, StoresTheTextOfSaveStringWithoutATerminatingZero)
{
    {
        FileHiveBackend store(path());
        Registry reg(store);
        reg.SaveString(kCurrentUser, kCsg, "chart", "1");
    }
    EXPECT_EQ(readFile(path()), "REGEDIT4\n\n"
                                "[HKEY_CURRENT_USER\\Software]\n\n"
                                "[HKEY_CURRENT_USER\\Software\\Ostrabel]\n\n"
                                "[HKEY_CURRENT_USER\\Software\\Ostrabel\\Kelvane]\n\n"
                                "[HKEY_CURRENT_USER\\Software\\Ostrabel\\Kelvane\\Csg]\n"
                                "\"chart\"=\"1\"\n\n");
}

struct HandWrittenValue
{
    const char *scenario;
    std::string line;
    std::string read;
};

void PrintTo(const HandWrittenValue &value, std::ostream *out)
{
    *out << value.scenario;
}

class FileHiveBackendHandWrittenTest : public FileHiveBackendTest,
                                       public ::testing::WithParamInterface<HandWrittenValue>
{
};

TEST_P(FileHiveBackendHandWrittenTest, ReadsAsRegistrySays)
{
    writeFile(path(), "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Ostrabel\\Kelvane\\Csg]\n" +
                          GetParam().line + "\n");
    FileHiveBackend store(path());
    Registry reg(store);
    EXPECT_EQ(reg.ReadValue(kCurrentUser, kCsg, "v"), GetParam().read);
    EXPECT_TRUE(reg.KeyExists(kCurrentUser, kCsg));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FileHiveBackendHandWrittenTest,
    ::testing::Values(HandWrittenValue{"text", "\"v\"=\"abc\"", "abc"},
                      HandWrittenValue{"empty", "\"v\"=\"\"", ""},
                      HandWrittenValue{"escapes", R"("v"="C:\\Maps\\\"x\"")", R"(C:\Maps\"x")"},
                      HandWrittenValue{"name_case", "\"V\"=\"upper\"", "upper"},
                      HandWrittenValue{"hex1_zero", "\"v\"=hex(1):61,62,00,63", "ab"},
                      HandWrittenValue{"dword_minus_one", "\"v\"=dword:ffffffff", "-1"},
                      HandWrittenValue{"dword_upper", "\"v\"=dword:0000002A", "42"},
                      HandWrittenValue{"dword_as_hex4", "\"v\"=hex(4):2a,00,00,00", "42"},
                      HandWrittenValue{"binary", "\"v\"=hex:1a,00,ff", "1A 00 FF "},
                      HandWrittenValue{"binary_empty", "\"v\"=hex:", ""},
                      HandWrittenValue{"expandable", "\"v\"=hex(2):25,50,25,00", "%P%"},
                      HandWrittenValue{"multi", "\"v\"=hex(7):6f,6e,65,00,74,77,6f,00,00", "one"},
                      HandWrittenValue{"continued", "\"v\"=hex(1):61,62,\\\n  63", "abc"},
                      HandWrittenValue{"other_type", "\"v\"=hex(0):31", ""},
                      HandWrittenValue{"absent", "\"v\"=\"1\"\n\"v\"=-", ""}),
    [](const auto &info) { return std::string(info.param.scenario); });

TEST_F(FileHiveBackendTest, FindsKeysAndValuesWithoutRegardToCase)
{
    FileHiveBackend store(path());
    Registry reg(store);
    reg.SaveString(kCurrentUser, "Software\\Ostrabel\\Kelvane\\Csg", "Chart", "1");
    reg.SaveString(kCurrentUser, "SOFTWARE\\ostrabel\\KELVANE\\csg", "CHART", "2");

    EXPECT_EQ(reg.ReadValue(kCurrentUser, "software\\OSTRABEL\\kelvane\\CSG", "chart"), "2");
    const std::string text = readFile(path());
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\Ostrabel\\Kelvane\\Csg]\n\"Chart\"=\"2\"\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("CSG"), std::string::npos) << text;
}

TEST_F(FileHiveBackendTest, OtherRootsReadAsEmptyAndAreNeverWritten)
{
    writeFile(path(), "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Vendor]\n\"x\"=\"1\"\n");
    FileHiveBackend store(path());
    Registry reg(store);
    EXPECT_FALSE(reg.KeyExists(2, "Software\\Vendor"));
    EXPECT_EQ(reg.ReadValue(2, "Software\\Vendor", "x"), "");

    reg.SaveString(2, "Software\\Vendor", "x", "2");
    reg.SaveString(0, "Software\\Vendor", "x", "2");
    EXPECT_EQ(store.fileReplaceCount(), 0);
    EXPECT_FALSE(reg.KeyExists(0, "Software\\Vendor"));

    // A write to the current user's root keeps the other root's section as it was.
    reg.SaveString(kCurrentUser, kCsg, "chart", "1");
    EXPECT_NE(readFile(path()).find("[HKEY_LOCAL_MACHINE\\Software\\Vendor]\n\"x\"=\"1\"\n"),
              std::string::npos);
}

TEST_F(FileHiveBackendTest, ReplacesTheFileOncePerBatch)
{
    FileHiveBackend store(path());
    Registry reg(store);
    reg.SaveString(kCurrentUser, kCsg, "first", "0");
    const int before = store.fileReplaceCount();
    const ino_t inodeBefore = inodeOf(path());
    const std::string textBefore = readFile(path());
    {
        Registry::Batch outer(reg);
        {
            Registry::Batch inner(reg);
            for (int i = 0; i < 26; ++i)
                reg.SaveString(kCurrentUser, kCsg, "inner" + std::to_string(i), "1");
        }
        for (int i = 0; i < 26; ++i)
            reg.SaveString(kCurrentUser, kBsp, "outer" + std::to_string(i), "2");

        // Reads see the batch; the file does not until it ends.
        EXPECT_EQ(reg.ReadValue(kCurrentUser, kCsg, "inner25"), "1");
        EXPECT_EQ(reg.ReadValue(kCurrentUser, kBsp, "outer25"), "2");
        EXPECT_EQ(readFile(path()), textBefore);
        EXPECT_EQ(store.fileReplaceCount(), before);
    }
    EXPECT_EQ(store.fileReplaceCount(), before + 1);
    EXPECT_NE(inodeOf(path()), inodeBefore);

    FileHiveBackend other(path());
    Registry otherReg(other);
    EXPECT_EQ(otherReg.ReadValue(kCurrentUser, kBsp, "outer25"), "2");
}

TEST_F(FileHiveBackendTest, WritesOutsideABatchReplaceTheFileAtOnce)
{
    FileHiveBackend store(path());
    Registry reg(store);
    reg.SaveString(kCurrentUser, kCsg, "chart", "1");
    const int afterKeys = store.fileReplaceCount();
    reg.SaveString(kCurrentUser, kCsg, "nowadfile", "1");
    EXPECT_EQ(store.fileReplaceCount(), afterKeys + 1);

    FileHiveBackend other(path());
    EXPECT_EQ(Registry(other).ReadValue(kCurrentUser, kCsg, "nowadfile"), "1");
}

TEST_F(FileHiveBackendTest, ReadsWhatAnotherInstanceWrote)
{
    FileHiveBackend first(path());
    FileHiveBackend second(path());
    Registry firstReg(first);
    Registry secondReg(second);
    EXPECT_FALSE(secondReg.KeyExists(kCurrentUser, kCsg));

    firstReg.SaveString(kCurrentUser, kCsg, "chart", "1");
    EXPECT_EQ(secondReg.ReadValue(kCurrentUser, kCsg, "chart"), "1");
    firstReg.SaveString(kCurrentUser, kCsg, "chart", "2");
    EXPECT_EQ(secondReg.ReadValue(kCurrentUser, kCsg, "chart"), "2");
}

TEST_F(FileHiveBackendTest, KeepsWhatAnotherInstanceWroteDuringABatch)
{
    FileHiveBackend first(path());
    FileHiveBackend second(path());
    Registry firstReg(first);
    Registry secondReg(second);
    firstReg.SaveString(kCurrentUser, kCsg, "chart", "old");
    {
        Registry::Batch batch(secondReg);
        secondReg.SaveString(kCurrentUser, kBsp, "leakonly", "1");
        firstReg.SaveString(kCurrentUser, kCsg, "chart", "new");
        secondReg.SaveString(kCurrentUser, kBsp, "noclip", "1");
        EXPECT_EQ(secondReg.ReadValue(kCurrentUser, kCsg, "chart"), "new");
        EXPECT_EQ(secondReg.ReadValue(kCurrentUser, kBsp, "leakonly"), "1");
    }
    FileHiveBackend third(path());
    Registry thirdReg(third);
    EXPECT_EQ(thirdReg.ReadValue(kCurrentUser, kCsg, "chart"), "new");
    EXPECT_EQ(thirdReg.ReadValue(kCurrentUser, kBsp, "leakonly"), "1");
    EXPECT_EQ(thirdReg.ReadValue(kCurrentUser, kBsp, "noclip"), "1");
    EXPECT_EQ(firstReg.ReadValue(kCurrentUser, kBsp, "noclip"), "1");
}

TEST_F(FileHiveBackendTest, CreatesAMissingDirectoryForTheUserOnly)
{
    const std::string nested = dir() + "/config/kelvane/settings.reg";
    FileHiveBackend store(nested);
    Registry reg(store);
    reg.SaveString(kCurrentUser, kCsg, "chart", "1");

    struct stat status;
    ASSERT_EQ(::stat((dir() + "/config/kelvane").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    ASSERT_EQ(::stat(nested.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
}

TEST_F(FileHiveBackendTest, AnUnwritablePlaceWritesNothingAndReadsStillSeeTheValue)
{
    writeFile(dir() + "/plain", "not a directory");
    FileHiveBackend store(dir() + "/plain/settings.reg");
    Registry reg(store);
    reg.SaveString(kCurrentUser, kCsg, "chart", "1");
    EXPECT_EQ(store.fileReplaceCount(), 0);
    EXPECT_EQ(reg.ReadValue(kCurrentUser, kCsg, "chart"), "1");
    EXPECT_EQ(readFile(dir() + "/plain"), "not a directory");
}

TEST_F(FileHiveBackendTest, RefusesNamesTheFileCannotHold)
{
    FileHiveBackend store(path());
    Registry reg(store);
    reg.SaveString(kCurrentUser, kCsg, "line\nbreak", "1");
    reg.SaveString(kCurrentUser, kCsg + "\\tab\there", "chart", "1");
    EXPECT_EQ(reg.ReadValue(kCurrentUser, kCsg, "line\nbreak"), "");
    EXPECT_FALSE(reg.KeyExists(kCurrentUser, kCsg + "\\tab\there"));
    EXPECT_FALSE(parseRegFile(readFile(path())).error);
}

TEST_F(FileHiveBackendTest, AnUnreadableFileReadsAsEmptyAndStaysUntilTheFirstWrite)
{
    const std::string garbage = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\"a\"=hex:zz\n";
    writeFile(path(), garbage);
    FileHiveBackend store(path());
    Registry reg(store);
    EXPECT_FALSE(reg.KeyExists(kCurrentUser, "Software"));
    EXPECT_EQ(reg.ReadValue(kCurrentUser, "Software", "a"), "");
    EXPECT_EQ(readFile(path()), garbage);
    EXPECT_FALSE(store.setAsidePath());
    EXPECT_TRUE(setAsideFiles().empty());
}

TEST_F(FileHiveBackendTest, KeepsAnUnreadableFileAsideBeforeWriting)
{
    const std::string garbage = "\x00\x01 binary junk\xff"s;
    writeFile(path(), garbage);
    FileHiveBackend store(path());
    Registry reg(store);
    saveWindow(reg, kCsg, "7");

    ASSERT_TRUE(store.setAsidePath());
    EXPECT_TRUE(store.setAsidePath()->starts_with(path() + ".unreadable-"));
    EXPECT_EQ(readFile(*store.setAsidePath()), garbage);
    EXPECT_EQ(setAsideFiles(), std::vector<std::string>{*store.setAsidePath()});
    expectWholeWindows(readFile(path()), {kCsg});
    FileHiveBackend other(path());
    EXPECT_EQ(Registry(other).ReadValue(kCurrentUser, kCsg, "value49"), "7");
}

TEST_F(FileHiveBackendTest, GivesEachUnreadableFileANameOfItsOwn)
{
    FileHiveBackend store(path());
    Registry reg(store);
    writeFile(path(), "first junk");
    reg.SaveString(kCurrentUser, kCsg, "chart", "1");
    const std::string firstAside = store.setAsidePath().value_or("");
    writeFile(path(), "second junk");
    reg.SaveString(kCurrentUser, kCsg, "chart", "2");
    const std::string secondAside = store.setAsidePath().value_or("");

    EXPECT_NE(firstAside, secondAside);
    EXPECT_EQ(readFile(firstAside), "first junk");
    EXPECT_EQ(readFile(secondAside), "second junk");
    EXPECT_EQ(setAsideFiles().size(), 2u);
    // The store forgets the keys of the file it could not read, not those it wrote since.
    EXPECT_EQ(reg.ReadValue(kCurrentUser, kCsg, "chart"), "2");
}

TEST_F(FileHiveBackendTest, DefaultPathFollowsXdgConfigHomeThenHome)
{
    const auto saved = [](const char *name) -> std::optional<std::string> {
        const char *value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    };
    const auto restore = [](const char *name, const std::optional<std::string> &value) {
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    };
    const auto configHome = saved("XDG_CONFIG_HOME");
    const auto home = saved("HOME");

    ::setenv("XDG_CONFIG_HOME", "/xdg/config", 1);
    ::setenv("HOME", "/home/user", 1);
    EXPECT_EQ(FileHiveBackend::defaultSettingsPath(), "/xdg/config/kelvane/settings.reg");
    ::setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(FileHiveBackend::defaultSettingsPath(), "/home/user/.config/kelvane/settings.reg");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(FileHiveBackend::defaultSettingsPath(), "/home/user/.config/kelvane/settings.reg");

    restore("XDG_CONFIG_HOME", configHome);
    restore("HOME", home);
}

TEST_F(FileHiveBackendTest, AnInstanceKilledWhileSavingLeavesOnlyWholeWindows)
{
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> delayMicroseconds(0, 4000);
    for (int round = 0; round < 50; ++round) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(ready[0]);
            FileHiveBackend store(path());
            Registry reg(store);
            for (long generation = round * 100000L;; ++generation) {
                saveWindow(reg, kCsg, std::to_string(generation));
                saveWindow(reg, kBsp, std::to_string(generation));
                if (ready[1] >= 0) {
                    const char saved = 1;
                    (void)!::write(ready[1], &saved, 1);
                    ::close(ready[1]);
                    ready[1] = -1;
                }
            }
        }
        ::close(ready[1]);
        // Once both windows were saved, the kill may come at any moment.
        char saved = 0;
        const bool started = ::read(ready[0], &saved, 1) == 1;
        ::close(ready[0]);
        if (started)
            std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(started && WIFSIGNALED(status)) << "round " << round;

        SCOPED_TRACE("round " + std::to_string(round));
        expectWholeWindows(readFile(path()), {kCsg, kBsp});
        if (HasFailure())
            return;
    }
    EXPECT_TRUE(setAsideFiles().empty());
    FileHiveBackend store(path());
    Registry reg(store);
    EXPECT_FALSE(reg.ReadValue(kCurrentUser, kBsp, "value0").empty());
}

TEST_F(FileHiveBackendTest, TwoInstancesSavingAtOnceKeepEachOthersWindows)
{
    constexpr int saves = 25;
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    std::vector<pid_t> children;
    for (const std::string &key : {kCsg, kBsp}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(start[1]);
            char go;
            // Returns at end of file, when the parent has started both.
            (void)!::read(start[0], &go, 1);
            FileHiveBackend store(path());
            Registry reg(store);
            for (int generation = 1; generation <= saves; ++generation) {
                saveWindow(reg, key, std::to_string(generation));
                reg.SaveString(kCurrentUser, key + "\\Last", "generation",
                               std::to_string(generation));
            }
            ::_exit(store.fileReplaceCount() >= saves ? 0 : 1);
        }
        children.push_back(child);
    }
    ::close(start[0]);
    ::close(start[1]);
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    expectWholeWindows(readFile(path()), {kCsg, kBsp});
    FileHiveBackend store(path());
    Registry reg(store);
    for (const std::string &key : {kCsg, kBsp}) {
        EXPECT_EQ(reg.ReadValue(kCurrentUser, key, "value0"), std::to_string(saves)) << key;
        EXPECT_EQ(reg.ReadValue(kCurrentUser, key + "\\Last", "generation"), std::to_string(saves))
            << key;
    }
}

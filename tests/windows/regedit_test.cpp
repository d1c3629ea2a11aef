#include "platform/win32/win32_text.h"
#include "settings/reg_file_format.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <tuple>

namespace kelvane {
namespace {

using namespace std::string_literals;
using namespace std::string_view_literals;
using win32::widen;

// A key of the process's own below HKEY_CURRENT_USER\Software\KelvaneTest, deleted with all it
// holds before and after each test, and a file name of its own for the .reg file.
class RegeditTest : public ::testing::Test
{
protected:
    RegeditTest() { remove(); }
    ~RegeditTest() override
    {
        remove();
        ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\KelvaneTest");
        ::DeleteFileW(widen(file).c_str());
    }
    void remove() const { ::RegDeleteTreeW(HKEY_CURRENT_USER, widen(path).c_str()); }

    // Runs the system's registry editor with the arguments and waits for it.
    static bool regedit(const std::string &arguments)
    {
        std::wstring command = L"regedit.exe " + widen(arguments);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &process))
            return false;
        const bool ended = ::WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0;
        DWORD code = 1;
        ::GetExitCodeProcess(process.hProcess, &code);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        return ended && code == 0;
    }

    static std::string tempFile()
    {
        wchar_t directory[MAX_PATH + 1] = {};
        ::GetTempPathW(MAX_PATH, directory);
        return win32::narrow(directory) + "kelvane-regedit-" +
               std::to_string(::GetCurrentProcessId()) + ".reg";
    }

    const std::string path = "Software\\KelvaneTest\\" + std::to_string(::GetCurrentProcessId());
    const std::string file = tempFile();
};

// What regedit exports by default (UTF-16 with a byte order mark, version 5) reads as the keys
// and values the registry holds, umlauts included.
TEST_F(RegeditTest, ARegeditExportReadsAsTheRegistryHoldsIt)
{
    HKEY handle = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, widen(path + "\\Kelvane\\Größe").c_str(), 0,
                                nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr),
              ERROR_SUCCESS);
    const auto set = [&](const wchar_t *name, DWORD type, std::wstring_view data) {
        ::RegSetValueExW(handle, name, 0, type, reinterpret_cast<const BYTE *>(data.data()),
                         static_cast<DWORD>(data.size() * sizeof(wchar_t)));
    };
    set(L"mapfile", REG_SZ, L"C:\\Karten\\\u00C4rger \u00DF \u00E4\u00F6\u00FC.map\0"sv);
    set(L"Z\u00E4hler", REG_DWORD, L"\x2a\0"sv); // 42 in four bytes
    set(L"temp", REG_EXPAND_SZ, L"%TEMP%\\\u00DCbung\0"sv);
    set(L"multi", REG_MULTI_SZ, L"a\0\u20AC\0\0"sv);
    ::RegCloseKey(handle);

    ASSERT_TRUE(regedit("/E \"" + file + "\" \"HKEY_CURRENT_USER\\" + path + "\""));
    std::ifstream in(std::filesystem::path(widen(file)), std::ios::binary);
    const std::string exported{std::istreambuf_iterator<char>(in), {}};
    ASSERT_TRUE(exported.starts_with("\xFF\xFE")) << "regedit wrote no UTF-16";
    RegFileContent content = parseRegFile(exported);
    ASSERT_FALSE(content.error) << content.error->line << ": " << content.error->message;
    const RegNode *read = content.roots[kCurrentUserRoot].find(path + "\\Kelvane\\Größe");
    ASSERT_TRUE(read);
    const std::tuple<const char *, std::uint32_t, std::string> rows[] = {
        {"mapfile", REG_SZ, "C:\\Karten\\Ärger ß äöü.map"},
        {"Zähler", REG_DWORD, "\x2a\0\0\0"s},
        {"temp", REG_EXPAND_SZ, "%TEMP%\\Übung\0"s},
        {"multi", REG_MULTI_SZ, "a\0€\0\0"s},
    };
    for (const auto &[name, type, data] : rows) {
        const StoredValue *value = read->value(name);
        EXPECT_TRUE(value && value->type == type && value->data == data) << name;
    }
}

// The settings file imported with regedit. regedit reads a REGEDIT4 file in the ANSI code page,
// not as UTF-8, so only names and texts in ASCII arrive as they were written.
TEST_F(RegeditTest, TheSettingsFileImportsWithTextsInAscii)
{
    RegRoots roots;
    RegNode &csg = roots[kCurrentUserRoot].findOrCreate(path + "\\Ostrabel\\Kelvane\\Csg");
    csg.setValue("chart", RegType::String, "1");
    csg.setValue("wadinclude_value", RegType::String, "C:\\Half-Life\\valve \"x\".wad");
    csg.setValue("count", RegType::Dword, "\x2a\0\0\0"s);
    {
        std::ofstream out(std::filesystem::path(widen(file)), std::ios::binary);
        out << serializeRegFile(roots);
    }
    ASSERT_TRUE(regedit("/S \"" + file + "\""));

    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, widen(path + "\\Ostrabel\\Kelvane\\Csg").c_str(),
                              0, KEY_QUERY_VALUE, &key),
              ERROR_SUCCESS);
    const auto value = [&](const wchar_t *name) {
        wchar_t buffer[128] = {};
        DWORD size = sizeof buffer - sizeof(wchar_t);
        EXPECT_EQ(::RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE *>(buffer),
                                     &size),
                  ERROR_SUCCESS);
        return std::wstring(buffer);
    };
    EXPECT_EQ(value(L"chart"), L"1");
    EXPECT_EQ(value(L"wadinclude_value"), L"C:\\Half-Life\\valve \"x\".wad");
    // A dword of 42 reads as that character and a terminating zero.
    EXPECT_EQ(value(L"count"), std::wstring(1, L'\x2a'));
    ::RegCloseKey(key);
}

} // namespace
} // namespace kelvane

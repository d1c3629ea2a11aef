#include "platform/win32/win32_text.h"
#include "settings/reg_file_format.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace kelvane {
namespace {

using namespace std::string_literals;
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

    static std::string tempFile(const std::string &name)
    {
        wchar_t directory[MAX_PATH + 1] = {};
        ::GetTempPathW(MAX_PATH, directory);
        return win32::narrow(directory) + name + std::to_string(::GetCurrentProcessId()) + ".reg";
    }

    const std::string path = "Software\\KelvaneTest\\" + std::to_string(::GetCurrentProcessId());
    const std::string file = tempFile("kelvane-regedit-");
};

// What regedit exports by default (UTF-16 with a byte order mark, version 5) reads as the keys
// and values the registry holds, umlauts included.
TEST_F(RegeditTest, ARegeditExportReadsAsTheRegistryHoldsIt)
{
    const std::wstring key = widen(path + "\\Kelvane\\Größe");
    HKEY handle = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                nullptr, &handle, nullptr),
              ERROR_SUCCESS);
    const std::wstring text = L"C:\\Karten\\\u00C4rger \u00DF \u00E4\u00F6\u00FC.map";
    ::RegSetValueExW(handle, L"mapfile", 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    const DWORD number = 42;
    ::RegSetValueExW(handle, L"Z\u00E4hler", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&number),
                     sizeof number);
    const std::wstring expandable = L"%TEMP%\\\u00DCbung";
    ::RegSetValueExW(handle, L"temp", 0, REG_EXPAND_SZ,
                     reinterpret_cast<const BYTE *>(expandable.c_str()),
                     static_cast<DWORD>((expandable.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(handle);

    ASSERT_TRUE(regedit("/E \"" + file + "\" \"HKEY_CURRENT_USER\\" + path + "\""));
    std::ifstream in(std::filesystem::path(widen(file)), std::ios::binary);
    const std::string exported{std::istreambuf_iterator<char>(in), {}};
    ASSERT_TRUE(exported.starts_with("\xFF\xFE")) << "regedit wrote no UTF-16";
    RegFileContent content = parseRegFile(exported);
    ASSERT_FALSE(content.error) << content.error->line << ": " << content.error->message;
    const RegNode *read = content.roots[kCurrentUserRoot].find(path + "\\Kelvane\\Größe");
    ASSERT_TRUE(read);
    ASSERT_TRUE(read->value("mapfile"));
    EXPECT_EQ(read->value("mapfile")->data, "C:\\Karten\\Ärger ß äöü.map");
    ASSERT_TRUE(read->value("Zähler"));
    EXPECT_EQ(read->value("Zähler")->data, "\x2a\0\0\0"s);
    ASSERT_TRUE(read->value("temp"));
    EXPECT_EQ(read->value("temp")->type, static_cast<std::uint32_t>(REG_EXPAND_SZ));
    EXPECT_EQ(read->value("temp")->data, "%TEMP%\\Übung\0"s);
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
    const auto text = [&](const wchar_t *name) {
        wchar_t buffer[128] = {};
        DWORD size = sizeof buffer - sizeof(wchar_t);
        DWORD type = 0;
        ::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE *>(buffer), &size);
        return std::wstring(buffer);
    };
    EXPECT_EQ(text(L"chart"), L"1");
    EXPECT_EQ(text(L"wadinclude_value"), L"C:\\Half-Life\\valve \"x\".wad");
    DWORD number = 0;
    DWORD size = sizeof number;
    EXPECT_EQ(::RegQueryValueExW(key, L"count", nullptr, nullptr, reinterpret_cast<BYTE *>(&number),
                                 &size),
              ERROR_SUCCESS);
    EXPECT_EQ(number, 42u);
    ::RegCloseKey(key);
}

} // namespace
} // namespace kelvane

#include "platform/win32/win32_text.h"
#include "settings/reg_file_format.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <tuple>

namespace kelvane {
namespace {

using namespace std::string_literals;
using namespace std::string_view_literals;
using win32::widen;

// What regedit exports by default (UTF-16 with a byte order mark, version 5) reads as the keys
// and values the registry holds, umlauts included.
TEST(RegeditTest, ARegeditExportReadsAsTheRegistryHoldsIt)
{
    // A key of the process's own, and a .reg file, both gone afterwards.
    const std::string path = "Software\\KelvaneTest\\" + std::to_string(::GetCurrentProcessId());
    wchar_t directory[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, directory);
    const std::string file = win32::narrow(directory) + "kelvane-regedit.reg";
    const std::shared_ptr<void> cleanup(nullptr, [&](void *) {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, widen(path).c_str());
        ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\KelvaneTest");
        ::DeleteFileW(widen(file).c_str());
    });
    const std::wstring key = widen(path + "\\Kelvane\\Größe");
    const auto set = [&](const wchar_t *name, DWORD type, std::wstring_view data) {
        EXPECT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, type, data.data(),
                                    static_cast<DWORD>(data.size() * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    };
    set(L"mapfile", REG_SZ, L"C:\\Karten\\\u00C4rger \u00DF \u00E4\u00F6\u00FC.map\0"sv);
    set(L"Z\u00E4hler", REG_DWORD, L"\x2a\0"sv); // 42 in four bytes
    set(L"temp", REG_EXPAND_SZ, L"%TEMP%\\\u00DCbung\0"sv);
    set(L"multi", REG_MULTI_SZ, L"a\0\u20AC\0\0"sv);

    std::wstring command =
        widen("regedit.exe /E \"" + file + "\" \"HKEY_CURRENT_USER\\" + path + "\"");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &startup, &process));
    DWORD code = 1;
    EXPECT_EQ(::WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    ASSERT_EQ(code, 0u) << "regedit failed";
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

} // namespace
} // namespace kelvane

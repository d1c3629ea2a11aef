#include "core/registry_typed_test.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_text.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using namespace std::string_literals;
using win32::widen;

// A key of the process's own below HKEY_CURRENT_USER\Software\KelvaneTest, deleted with all it
// holds before and after each test; the common parent goes with the last key below it.
struct OwnTestKey
{
    OwnTestKey() { remove(); }
    ~OwnTestKey()
    {
        remove();
        ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\KelvaneTest");
    }
    void remove() const { ::RegDeleteTreeW(HKEY_CURRENT_USER, widen(path).c_str()); }

    const std::string path = "Software\\KelvaneTest\\" + std::to_string(::GetCurrentProcessId());
};

// Opens a key of the test's own with the system's functions; none when it is not there.
HKEY openRaw(const std::string &keyPath, REGSAM access)
{
    HKEY key = nullptr;
    return ::RegOpenKeyExW(HKEY_CURRENT_USER, widen(keyPath).c_str(), 0, access, &key) ==
                   ERROR_SUCCESS
               ? key
               : nullptr;
}

// The shared checks run on the real registry. Values "of other programs" are written the way
// today's programs write them, through the wide functions.
struct Win32Harness
{
    void putRaw(std::string_view keyPath, std::string_view name, std::uint32_t type,
                std::string_view data)
    {
        std::string bytes(data);
        if (type == RegType::String || type == RegType::ExpandString ||
            type == RegType::MultiString) {
            const std::wstring text = widen(data);
            bytes.assign(reinterpret_cast<const char *>(text.data()), text.size() * 2);
        }
        bytes.push_back('\0'); // a valid pointer also for no data
        EXPECT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, widen(keyPath).c_str(), widen(name).c_str(),
                                    type, bytes.data(), static_cast<DWORD>(bytes.size() - 1)),
                  ERROR_SUCCESS);
    }
    bool hasKey(std::string_view keyPath)
    {
        const HKEY key = openRaw(std::string(keyPath), KEY_READ);
        return key && ::RegCloseKey(key) == ERROR_SUCCESS;
    }
    std::size_t openKeyCount() const { return backend.openKeyCount(); }

    OwnTestKey own;
    Win32RegistryBackend backend;
    std::string base = own.path;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, RegistryOperationsTest, Win32Harness);

class Win32RegistryBackendTest : public ::testing::Test
{
protected:
    OwnTestKey own;
    Win32RegistryBackend backend;
    Registry registry{backend};
    const std::string csg = own.path + "\\Ostrabel\\Kelvane\\Übung";
};

// The backend goes through the system's ANSI functions: what it writes reads the same through
// the wide ones, what other programs write in the ANSI code page reads as UTF-8, and a value's
// data counts the core's UTF-8 bytes.
TEST_F(Win32RegistryBackendTest, TextIsStoredAsOtherProgramsReadAndWriteIt)
{
    registry.SaveString(1, csg, "Größe", "C:\\Karten\\Größe");
    const HKEY key = openRaw(csg, KEY_QUERY_VALUE | KEY_SET_VALUE);
    ASSERT_TRUE(key);
    // One UTF-16 unit per character and no terminating zero.
    wchar_t wide[64] = {};
    DWORD size = sizeof wide;
    EXPECT_EQ(::RegQueryValueExW(key, L"Gr\u00F6\u00DFe", nullptr, nullptr,
                                 reinterpret_cast<BYTE *>(wide), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(wide, size / sizeof(wchar_t)), L"C:\\Karten\\Gr\u00F6\u00DFe");
    const std::string written = *win32::toCodePage("äöü", CP_ACP) + "\0rest"s;
    ::RegSetValueExA(key, "ansi", 0, REG_SZ, reinterpret_cast<const BYTE *>(written.data()),
                     static_cast<DWORD>(written.size()));
    ::RegCloseKey(key);

    EXPECT_EQ(registry.ReadValue(1, csg, "ansi"), "äöü");
    const RegKey handle = backend.openKey(kCurrentUserRoot, csg, RegAccess::QueryValue);
    ASSERT_NE(handle, kInvalidKey);
    EXPECT_EQ(backend.queryValueData(handle, "Größe", 17), "C:\\Karten\\Größe");
    EXPECT_EQ(backend.queryValueData(handle, "Größe", 16), std::nullopt);
    backend.closeKey(handle);
}

// Not written, and told: once for a window's save, naming the key and the value.
TEST_F(Win32RegistryBackendTest, TextTheCodePageCannotHoldIsNotWrittenAndTheUserIsTold)
{
    if (::GetACP() == CP_UTF8)
        GTEST_SKIP() << "The ANSI code page is UTF-8 and holds every character.";
    registry.SaveString(1, csg, "mapdir", "C:\\maps");
    backend.beginBatch();
    registry.SaveString(1, csg, "mapdir", "C:\\\u5730\u56F3");
    registry.SaveString(1, csg, "fresh", "\u5730\u56F3");
    EXPECT_TRUE(backend.takeProblems().empty()) << "told when the save is over";
    backend.endBatch();
    EXPECT_EQ(registry.ReadValue(1, csg, "mapdir"), "C:\\maps");
    EXPECT_EQ(registry.ReadValue(1, csg, "fresh"), "");
    const std::vector<SettingsProblem> told = backend.takeProblems();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_TRUE(told[0].kind == SettingsProblem::Kind::Unstorable &&
                told[0].file == "HKEY_CURRENT_USER\\" + csg);
    EXPECT_EQ(told[0].reason, "Der Wert \"mapdir\" enthält Zeichen, die die Registrierung hier "
                              "nicht speichern kann.");
    registry.SaveString(1, csg, "fresh", "\u5730");
    EXPECT_EQ(backend.takeProblems().size(), 1u) << "the next save is told of again";
    EXPECT_EQ(backend.openKeyCount(), 0u);
}

} // namespace
} // namespace kelvane

#include "core/registry_typed_test.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_text.h"
#include "windows/registry_key.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using namespace std::string_literals;
using testing::OwnTestKey;

std::wstring wide(std::string_view utf8)
{
    return win32::widen(utf8);
}

// The shared checks run on the real registry, each test in a key of its own. Values "of other
// programs" are written the way today's programs write them, through the wide functions.
struct Win32Harness
{
    void putRaw(std::string_view keyPath, std::string_view name, std::uint32_t type,
                std::string_view data)
    {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, wide(keyPath).c_str(), 0, nullptr, 0,
                                    KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        std::string bytes(data);
        if (type == RegType::String || type == RegType::ExpandString ||
            type == RegType::MultiString) {
            const std::wstring text = wide(data);
            bytes.assign(reinterpret_cast<const char *>(text.data()),
                         text.size() * sizeof(wchar_t));
        }
        bytes.push_back('\0'); // a valid pointer also for no data
        EXPECT_EQ(::RegSetValueExW(key, wide(name).c_str(), 0, type,
                                   reinterpret_cast<const BYTE *>(bytes.data()),
                                   static_cast<DWORD>(bytes.size() - 1)),
                  ERROR_SUCCESS);
        ::RegCloseKey(key);
    }
    bool hasKey(std::string_view keyPath)
    {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, wide(keyPath).c_str(), 0, KEY_READ, &key) !=
            ERROR_SUCCESS)
            return false;
        ::RegCloseKey(key);
        return true;
    }
    std::size_t openKeyCount() const { return backend.openKeyCount(); }

    OwnTestKey own;
    Win32RegistryBackend backend;
    std::string base = own.path;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, RegistryOperationsTest, Win32Harness);

// A value as the registry holds it, read through the wide functions.
struct RawValue
{
    DWORD type = REG_NONE;
    std::string bytes;
};

std::optional<RawValue> readWide(const std::string &keyPath, std::string_view name)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, wide(keyPath).c_str(), 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return std::nullopt;
    RawValue value;
    DWORD size = 0;
    LONG result = ::RegQueryValueExW(key, wide(name).c_str(), nullptr, &value.type, nullptr, &size);
    if (result == ERROR_SUCCESS) {
        value.bytes.resize(size + 1);
        result = ::RegQueryValueExW(key, wide(name).c_str(), nullptr, &value.type,
                                    reinterpret_cast<BYTE *>(value.bytes.data()), &size);
        value.bytes.resize(size);
    }
    ::RegCloseKey(key);
    return result == ERROR_SUCCESS ? std::optional(value) : std::nullopt;
}

std::string utf16(std::wstring_view text)
{
    return std::string(reinterpret_cast<const char *>(text.data()), text.size() * sizeof(wchar_t));
}

class Win32RegistryBackendTest : public ::testing::Test
{
protected:
    OwnTestKey own;
    Win32RegistryBackend backend;
    Registry registry{backend};
    const std::string csg = own.path + "\\Ostrabel\\Kelvane\\Csg";
};

TEST_F(Win32RegistryBackendTest, RootHandlesAreThePredefinedKeys)
{
    EXPECT_EQ(Win32RegistryBackend::predefinedKey(kRootBase + 0), HKEY_CLASSES_ROOT);
    EXPECT_EQ(Win32RegistryBackend::predefinedKey(kRootBase + 1), HKEY_CURRENT_USER);
    EXPECT_EQ(Win32RegistryBackend::predefinedKey(kRootBase + 2), HKEY_LOCAL_MACHINE);
    EXPECT_EQ(Win32RegistryBackend::predefinedKey(kRootBase + 3), HKEY_USERS);
    EXPECT_EQ(Win32RegistryBackend::predefinedKey(kRootBase + 5), HKEY_CURRENT_CONFIG);
    // The handle is a negative 32-bit number widened to a pointer.
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(Win32RegistryBackend::predefinedKey(kCurrentUserRoot)),
              static_cast<ULONG_PTR>(-static_cast<LONG_PTR>(0x7FFFFFFF)));
}

TEST_F(Win32RegistryBackendTest, SavedStringHasOneBytePerCharacterAndNoTerminatingZero)
{
    registry.SaveString(1, csg, "mapdir", "C:\\Karten\\Größe");
    const std::optional<RawValue> stored = readWide(csg, "mapdir");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(stored->bytes, utf16(L"C:\\Karten\\Gr\u00F6\u00DFe"));

    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, wide(csg).c_str(), 0, KEY_QUERY_VALUE, &key),
              ERROR_SUCCESS);
    char ansi[64] = {};
    DWORD size = sizeof ansi;
    EXPECT_EQ(
        ::RegQueryValueExA(key, "mapdir", nullptr, nullptr, reinterpret_cast<BYTE *>(ansi), &size),
        ERROR_SUCCESS);
    ::RegCloseKey(key);
    EXPECT_EQ(size, 15u);
    EXPECT_EQ(std::string(ansi, size), *win32::toCodePage("C:\\Karten\\Größe", CP_ACP));
}

TEST_F(Win32RegistryBackendTest, SizeOfAStringCountsItsUtf8Bytes)
{
    registry.SaveString(1, csg, "name", "äöü");
    const RegKey key = backend.openKey(kCurrentUserRoot, csg, RegAccess::QueryValue);
    ASSERT_NE(key, kInvalidKey);
    const std::optional<RegValueInfo> info = backend.queryValueInfo(key, "name");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->size, 6u);
    EXPECT_EQ(backend.queryValueData(key, "name", 6), "äöü");
    EXPECT_EQ(backend.queryValueData(key, "name", 5), std::nullopt);
    backend.closeKey(key);
}

TEST_F(Win32RegistryBackendTest, AnsiStringsOfOtherProgramsReadAsUtf8)
{
    registry.CreateKeyPath(1, csg);
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, wide(csg).c_str(), 0, KEY_SET_VALUE, &key),
              ERROR_SUCCESS);
    const std::string ansi = *win32::toCodePage("Größe", CP_ACP) + "\0rest"s;
    ::RegSetValueExA(key, "ansi", 0, REG_SZ, reinterpret_cast<const BYTE *>(ansi.data()),
                     static_cast<DWORD>(ansi.size()));
    ::RegCloseKey(key);
    EXPECT_EQ(registry.ReadValue(1, csg, "ansi"), "Größe");
}

TEST_F(Win32RegistryBackendTest, KeyAndValueNamesKeepTheirUmlauts)
{
    const std::string key = own.path + "\\Übung";
    registry.SaveString(1, key, "Größe", "1");
    EXPECT_TRUE(readWide(key, "Größe"));
    EXPECT_EQ(registry.ReadValue(1, key, "Größe"), "1");
    EXPECT_TRUE(registry.KeyExists(1, key));
}

TEST_F(Win32RegistryBackendTest, TextTheCodePageCannotHoldIsNotWritten)
{
    if (::GetACP() == CP_UTF8)
        GTEST_SKIP() << "The ANSI code page is UTF-8 and holds every character.";
    registry.SaveString(1, csg, "mapdir", "C:\\maps");
    registry.SaveString(1, csg, "mapdir", "C:\\\u5730\u56F3");
    registry.SaveString(1, csg, "fresh", "\u5730\u56F3");
    EXPECT_EQ(registry.ReadValue(1, csg, "mapdir"), "C:\\maps");
    EXPECT_FALSE(readWide(csg, "fresh"));
    EXPECT_EQ(backend.openKeyCount(), 0u);
}

TEST_F(Win32RegistryBackendTest, KeysAreOpenedWithTheAccessAskedFor)
{
    registry.SaveString(1, csg, "chart", "1");
    const RegKey setOnly = backend.openKey(kCurrentUserRoot, csg, RegAccess::SetValue);
    ASSERT_NE(setOnly, kInvalidKey);
    EXPECT_FALSE(backend.queryValueInfo(setOnly, "chart"));
    EXPECT_TRUE(backend.setValue(setOnly, "chart", RegType::String, "0"));
    backend.closeKey(setOnly);

    const RegKey queryOnly = backend.openKey(kCurrentUserRoot, csg, RegAccess::QueryValue);
    ASSERT_NE(queryOnly, kInvalidKey);
    EXPECT_FALSE(backend.setValue(queryOnly, "chart", RegType::String, "1"));
    EXPECT_EQ(backend.queryValueData(queryOnly, "chart", 2), "0");
    backend.closeKey(queryOnly);
    EXPECT_EQ(backend.openKeyCount(), 0u);
}

TEST_F(Win32RegistryBackendTest, HandlesThatWereNeverOpenedNameNoKey)
{
    EXPECT_EQ(backend.openKey(12345, "Software", RegAccess::AllAccess), kInvalidKey);
    EXPECT_FALSE(backend.queryValueInfo(12345, "x"));
    EXPECT_EQ(backend.openKey(kRootBase - 1, "Software", RegAccess::AllAccess), kInvalidKey);
    backend.closeKey(12345);
    EXPECT_EQ(backend.openKeyCount(), 0u);
}

} // namespace
} // namespace kelvane

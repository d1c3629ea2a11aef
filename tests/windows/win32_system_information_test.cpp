#include "platform/win32/win32_system_information.h"
#include "platform/win32/win32_text.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using win32::widen;

// Machine-wide values of the test's own, below HKEY_LOCAL_MACHINE, removed afterwards.
struct MachineKey
{
    MachineKey() { remove(); }
    ~MachineKey() { remove(); }
    void remove() const { ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, widen(path).c_str()); }

    void set(const std::wstring &name, const std::wstring &text) const
    {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, widen(path).c_str(), 0, nullptr, 0,
                                    KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(::RegSetValueExW(key, name.c_str(), 0, REG_SZ,
                                   reinterpret_cast<const BYTE *>(text.c_str()),
                                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
        ::RegCloseKey(key);
    }

    const std::string path =
        "SOFTWARE\\KelvaneTest\\Shared Tools " + std::to_string(::GetCurrentProcessId());
};

TEST(Win32SystemInformationTest, ReadsAMachineStringWithinTheBufferAndNothingElse)
{
    MachineKey key;
    key.set(L"PATH", L"C:\\Programme\\Gemeinsame Dateien\\Größe\\msinfo32.exe");
    key.set(L"Fits", std::wstring(511, L'x'));    // 1,024 bytes with its zero
    key.set(L"TooLong", std::wstring(512, L'x')); // 1,026 bytes

    Win32SystemInformation system;
    constexpr int machine = SystemInformation::kLocalMachine;
    EXPECT_EQ(system.GetKeyValue(machine, key.path, "PATH"),
              "C:\\Programme\\Gemeinsame Dateien\\Größe\\msinfo32.exe");
    EXPECT_EQ(system.GetKeyValue(machine, key.path, "Fits"), std::string(511, 'x'));
    EXPECT_EQ(system.GetKeyValue(machine, key.path, "TooLong"), std::nullopt);
    EXPECT_EQ(system.GetKeyValue(machine, key.path + "\\None", "PATH"), std::nullopt);
    // The value is read from the machine's root, not the user's.
    EXPECT_EQ(system.GetKeyValue(1, key.path, "PATH"), std::nullopt);
    EXPECT_TRUE(system.startDesktopProgram());
}

} // namespace
} // namespace kelvane

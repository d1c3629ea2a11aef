#include "platform/win32/win32_system_information.h"
#include "platform/win32/win32_text.h"

#include <gtest/gtest.h>
#include <memory>

namespace kelvane {
namespace {

using win32::widen;

// A machine-wide string is read whole while it fits the buffer of 1,024 bytes, not at all when
// it does not, and never from the user's root.
TEST(Win32SystemInformationTest, ReadsAMachineStringWithinTheBufferAndNothingElse)
{
    const std::wstring path =
        L"SOFTWARE\\KelvaneTest\\Shared Tools " + std::to_wstring(::GetCurrentProcessId());
    const std::shared_ptr<void> cleanup(
        nullptr, [&](void *) { ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, path.c_str()); });
    for (const std::size_t length : {511u, 512u}) { // 1,024 and 1,026 bytes with the zero
        const std::wstring text = std::wstring(length - 1, L'x') + L"\u00F6";
        ASSERT_EQ(::RegSetKeyValueW(HKEY_LOCAL_MACHINE, path.c_str(),
                                    std::to_wstring(length).c_str(), REG_SZ, text.c_str(),
                                    static_cast<DWORD>((length + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
    Win32SystemInformation system;
    const std::string key = win32::narrow(path);
    EXPECT_EQ(system.GetKeyValue(SystemInformation::kLocalMachine, key, "511"),
              std::string(510, 'x') + "ö");
    EXPECT_EQ(system.GetKeyValue(SystemInformation::kLocalMachine, key, "512"), std::nullopt);
    EXPECT_EQ(system.GetKeyValue(1, key, "511"), std::nullopt);
    EXPECT_TRUE(system.startDesktopProgram());
}

} // namespace
} // namespace kelvane

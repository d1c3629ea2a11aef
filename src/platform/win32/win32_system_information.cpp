#include "platform/win32/win32_system_information.h"

#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/windows_api.h"

namespace kelvane {

std::optional<std::string> Win32SystemInformation::GetKeyValue(int rootIndex, std::string_view key,
                                                               std::string_view valueName)
{
    const HKEY root =
        Win32RegistryBackend::predefinedKey(kRootBase + static_cast<RegKey>(rootIndex));
    // Read access only: a user who is not an administrator may not open the machine's keys
    // for full access, and the value is only read.
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(root, win32::widen(key).c_str(), 0, KEY_QUERY_VALUE, &opened) !=
        ERROR_SUCCESS)
        return std::nullopt;
    constexpr DWORD kBufferBytes = 1024;
    wchar_t buffer[kBufferBytes / sizeof(wchar_t)] = {};
    DWORD type = 0;
    DWORD size = kBufferBytes;
    const LONG result = ::RegQueryValueExW(opened, win32::widen(valueName).c_str(), nullptr, &type,
                                           reinterpret_cast<BYTE *>(buffer), &size);
    ::RegCloseKey(opened);
    if (result != ERROR_SUCCESS)
        return std::nullopt;
    std::size_t length = size / sizeof(wchar_t);
    // A string is stored with its terminating zero, which is not part of the text; any other
    // type goes on as it is and names no program that could start.
    if ((type == REG_SZ || type == REG_EXPAND_SZ) && length > 0 && buffer[length - 1] == L'\0')
        --length;
    return win32::narrow(std::wstring_view(buffer, length));
}

Outcome Win32SystemInformation::startDesktopProgram()
{
    return Failure{"Die Registrierung nennt kein Programm für Systeminformationen."};
}

} // namespace kelvane

#include "platform/win32/win32_program.h"

#include "platform/win32/win32_text.h"
#include "util/dos_path.h"

#include <shlobj.h>

namespace kelvane {

namespace {

std::wstring moduleFileName()
{
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0)
            return {};
        if (length < name.size()) {
            name.resize(length);
            return name;
        }
        name.resize(name.size() * 2);
    }
}

std::wstring environmentVariable(const wchar_t *variable)
{
    const DWORD needed = ::GetEnvironmentVariableW(variable, nullptr, 0);
    if (needed == 0)
        return {};
    std::wstring value(needed, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(variable, value.data(), needed);
    if (length == 0 || length >= needed)
        return {};
    value.resize(length);
    return value;
}

std::wstring localAppData()
{
    std::wstring directory = environmentVariable(L"LOCALAPPDATA");
    if (!directory.empty())
        return directory;
    wchar_t folder[MAX_PATH] = {};
    if (SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                     SHGFP_TYPE_CURRENT, folder)))
        return folder;
    return {};
}

// Like "mkdir -p": creates every missing directory along the path.
bool makeDirectories(const std::wstring &path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const std::size_t slash = path.find_last_of(L"\\/");
    if (slash != std::wstring::npos && slash > 0 && path[slash - 1] != L':' &&
        !makeDirectories(path.substr(0, slash)))
        return false;
    return ::CreateDirectoryW(path.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}

} // namespace

std::string Win32ProgramInfo::programDirectory()
{
    const std::string executable = win32::narrow(moduleFileName());
    const std::size_t slash = executable.find_last_of('\\');
    if (slash == std::string::npos)
        return {};
    std::string directory = executable.substr(0, slash);
    if (dos::isDriveOnly(directory))
        directory += '\\';
    return directory;
}

std::string Win32ProgramInfo::userDataDirectory()
{
    const std::wstring base = localAppData();
    if (base.empty())
        return {};
    std::wstring directory = base;
    if (directory.back() != L'\\')
        directory += L'\\';
    directory += L"Kelvane";
    if (!makeDirectories(directory))
        return {};
    return win32::narrow(directory);
}

} // namespace kelvane

// Stands in for the compilers, Half-Life and the shutdown command when a test runs
// compile.bat: it is copied under each of their names and records what it was handed.
//
// With KELVANE_STUB_LOG naming a file, it appends one record to it, in UTF-8:
//
//   program HLCSG.EXE
//   commandline "C:\ZHLT\HLCSG.EXE"  -estimate "C:\maps\test.map"
//   arg -estimate
//   arg C:\maps\test.map
//   wadroot C:\Half-Life
//   cwd C:\Programme\Kelvane
//   end
//
// ("wadroot" is left out when the variable is not set; "cwd" is the working directory). When
// its last argument names a .map file, it writes the .bsp beside it, as a compiler would. With
// KELVANE_STUB_EVENT naming an event, it signals that event when it is done.

#include "platform/win32/windows_api.h"

#include <shellapi.h>
#include <string>

namespace {

std::string utf8(const std::wstring &text)
{
    if (text.empty())
        return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                          size, nullptr, nullptr);
    return bytes;
}

std::wstring environment(const wchar_t *name, bool &present)
{
    const DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
    present = size > 0;
    if (!present)
        return {};
    std::wstring value(size, L'\0');
    value.resize(::GetEnvironmentVariableW(name, value.data(), size));
    return value;
}

std::wstring environment(const wchar_t *name)
{
    bool present = false;
    return environment(name, present);
}

bool writeFile(const std::wstring &path, const std::string &bytes, bool append)
{
    const HANDLE file = ::CreateFileW(
        path.c_str(), append ? FILE_APPEND_DATA : GENERIC_WRITE, FILE_SHARE_READ, nullptr,
        append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok =
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    ::CloseHandle(file);
    return ok;
}

std::wstring programName()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring full(path, length);
    return full.substr(full.find_last_of(L"\\/") + 1);
}

bool endsWithMap(const std::wstring &argument)
{
    return argument.size() > 4 && ::CompareStringOrdinal(argument.c_str() + argument.size() - 4, 4,
                                                         L".map", 4, TRUE) == CSTR_EQUAL;
}

} // namespace

int main()
{
    const wchar_t *commandLine = ::GetCommandLineW();
    int count = 0;
    wchar_t **arguments = ::CommandLineToArgvW(commandLine, &count);
    if (!arguments)
        return 2;

    std::string record = "program " + utf8(programName()) + "\n";
    record += "commandline " + utf8(commandLine) + "\n";
    for (int i = 1; i < count; ++i)
        record += "arg " + utf8(arguments[i]) + "\n";
    bool hasWadroot = false;
    const std::wstring wadroot = environment(L"WADROOT", hasWadroot);
    if (hasWadroot)
        record += "wadroot " + utf8(wadroot) + "\n";
    wchar_t directory[MAX_PATH] = {};
    record +=
        "cwd " + utf8(std::wstring(directory, ::GetCurrentDirectoryW(MAX_PATH, directory))) + "\n";
    record += "end\n";

    int result = 0;
    const std::wstring log = environment(L"KELVANE_STUB_LOG");
    if (!log.empty() && !writeFile(log, record, true))
        result = 3;

    if (count > 1 && endsWithMap(arguments[count - 1])) {
        const std::wstring map = arguments[count - 1];
        if (!writeFile(map.substr(0, map.size() - 4) + L".bsp",
                       "compiled by " + utf8(programName()) + "\n", false))
            result = 4;
    }
    ::LocalFree(arguments);

    const std::wstring event = environment(L"KELVANE_STUB_EVENT");
    if (!event.empty()) {
        if (const HANDLE signal = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, event.c_str())) {
            ::SetEvent(signal);
            ::CloseHandle(signal);
        }
    }
    return result;
}

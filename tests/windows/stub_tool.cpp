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
// its last argument names a .map file, it writes the .bsp beside it, as a compiler would.

#include "platform/win32/win32_text.h"

#include <filesystem>
#include <fstream>
#include <shellapi.h>

using kelvane::win32::narrow;

int main()
{
    int count = 0;
    wchar_t **arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    wchar_t self[MAX_PATH] = {};
    const std::string program = narrow(
        std::filesystem::path(std::wstring(self, ::GetModuleFileNameW(nullptr, self, MAX_PATH)))
            .filename()
            .wstring());
    std::string record =
        "program " + program + "\ncommandline " + narrow(::GetCommandLineW()) + "\n";
    for (int i = 1; i < count; ++i)
        record += "arg " + narrow(arguments[i]) + "\n";
    if (const wchar_t *wadroot = ::_wgetenv(L"WADROOT"))
        record += "wadroot " + narrow(wadroot) + "\n";
    record += "cwd " + narrow(std::filesystem::current_path().wstring()) + "\nend\n";
    if (const wchar_t *log = ::_wgetenv(L"KELVANE_STUB_LOG"))
        std::ofstream(std::filesystem::path(log), std::ios::binary | std::ios::app) << record;

    if (std::filesystem::path map = count > 1 ? arguments[count - 1] : L"";
        map.extension() == L".map")
        std::ofstream(map.replace_extension(L".bsp"), std::ios::binary)
            << "compiled by " << program << "\n";
    return 0;
}

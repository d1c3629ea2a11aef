#include "platform/win32/win32_launcher.h"

#include "platform/win32/win32_shell.h"
#include "platform/win32/windows_api.h"
#include "util/dos_path.h"

namespace kelvane {

Outcome Win32ProgramLauncher::startScript(std::string_view dosPath)
{
    return win32::shellOpen(dosPath, dos::parent(dosPath).value_or(std::string()),
                            "Das Skript \"" + std::string(dosPath) +
                                "\" konnte nicht gestartet werden:");
}

Outcome Win32ProgramLauncher::startProgram(std::string_view dosPath)
{
    return win32::shellOpen(dosPath, {},
                            "Das Programm \"" + std::string(dosPath) +
                                "\" konnte nicht gestartet werden:");
}

unsigned Win32ProgramLauncher::scriptCodePage()
{
    return ::GetOEMCP();
}

} // namespace kelvane

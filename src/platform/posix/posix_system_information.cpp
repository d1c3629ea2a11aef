#include "platform/posix/posix_system_information.h"

#include "platform/posix/process.h"

namespace kelvane {

std::vector<std::string> PosixSystemInformation::commonPrograms()
{
    // The information centres of KDE and of the lighter desktops first, then the system
    // monitors of GNOME and MATE, which show the system's resources.
    return {"kinfocenter",          "hardinfo2",          "hardinfo", "cpu-x", "xfce4-about",
            "gnome-system-monitor", "mate-system-monitor"};
}

PosixSystemInformation::PosixSystemInformation(std::vector<std::string> programs)
    : m_programs(std::move(programs))
{}

std::optional<std::string> PosixSystemInformation::GetKeyValue(int, std::string_view,
                                                               std::string_view)
{
    return std::nullopt;
}

Outcome PosixSystemInformation::startDesktopProgram()
{
    for (const std::string &program : m_programs) {
        const std::optional<std::string> found = findProgram(program);
        if (!found)
            continue;
        // A program that fails at once gives way to the next one.
        if (!startDetached(*found, {program}, {}, m_grace, program))
            return std::nullopt;
    }
    return Failure{"Es wurde kein Programm gefunden, das Systeminformationen zeigt."};
}

} // namespace kelvane

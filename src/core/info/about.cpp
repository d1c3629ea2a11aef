#include "info/about.h"

#include "info/maker.h"

namespace kelvane {

About::About(Services &services)
    : Window(WindowId::About, "About", "", services)
{
    cmdSysInfo.clicked.connect([this] { StartSysInfo(); });
}

std::string About::disclaimerText()
{
    return "Für neue Versionen, Infos, Fragen, Votes: " + std::string(kMakerPage) +
           "          eMail: " + std::string(kMakerMail) + "          Drücken Sie F1 für die Hilfe";
}

void About::StartSysInfo()
{
    SystemInformation &system = services().systemInformation;
    ProgramLauncher &launcher = services().launcher;
    constexpr int root = SystemInformation::kLocalMachine;
    if (const auto path =
            system.GetKeyValue(root, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH")) {
        // The second place is not asked when the first names a program, even one that fails.
        if (!launcher.startProgram(*path))
            return;
    } else if (const auto directory = system.GetKeyValue(
                   root, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO")) {
        const std::string program = *directory + "\\MSINFO32.EXE";
        if (services().files.fileExists(program) && !launcher.startProgram(program))
            return;
    } else if (!system.startDesktopProgram()) {
        return;
    }
    services().messages.show("System Information Is Unavailable At This Time", MessageIcon::None,
                             "Kelvane");
}

} // namespace kelvane

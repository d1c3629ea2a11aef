#pragma once

#include "app/platform.h"

namespace kelvane {

class Registry;
class HelpFile;
class FolderReader;

// The services every window is handed: the settings store and the platform.
struct Services
{
    Registry &registry;
    MessageService &messages;
    FileSystem &files;
    ProgramInfo &program;
    DesktopOpener &opener;
    TextFileWriter &writer;
    ProgramLauncher &launcher;
    HelpFile &help;
    SystemInformation &systemInformation;
    FolderReader &folders;
};

// The titles of the program's message boxes.
inline constexpr std::string_view kErrorTitle = "Fehler!!!";
inline constexpr std::string_view kInformationTitle = "Information";

} // namespace kelvane

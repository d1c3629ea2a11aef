#pragma once

#include "app/platform.h"
#include "platform/posix/wine_paths.h"

namespace kelvane {

// Where the program lives and where it keeps the user's files, as DOS paths.
class PosixProgramInfo : public ProgramInfo
{
public:
    // userDataDirectory: the Unix directory for the user's files; empty when there is none.
    PosixProgramInfo(WineDrives drives, std::string userDataDirectory);

    // $XDG_DATA_HOME/kelvane, else ~/.local/share/kelvane; empty without a home.
    static std::string userDataDirectoryFromEnvironment();

    std::string programDirectory() override;
    // Creates the directory on first use, readable by the user alone.
    std::string userDataDirectory() override;

private:
    WineDrives m_drives;
    std::string m_userDataDirectory;
};

} // namespace kelvane

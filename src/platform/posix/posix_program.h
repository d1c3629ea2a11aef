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
    // Beside the program when the help is there (a build tree, a folder unpacked as a whole),
    // else the program's data directory of an installation (/usr/share/kelvane beside
    // /usr/bin).
    std::string helpDirectory() override;
    // The same for a program in the Unix directory `programDirectory`, as a Unix path.
    static std::string helpDirectoryFor(const std::string &programDirectory);
    // Creates the directory on first use, readable by the user alone.
    std::string userDataDirectory() override;

private:
    // The program's own directory as a Unix path; empty when it cannot be found.
    static std::string ownDirectory();

    WineDrives m_drives;
    std::string m_userDataDirectory;
};

} // namespace kelvane

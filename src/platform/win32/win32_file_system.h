#pragma once

#include "app/platform.h"

namespace kelvane {

// Drives, directories and files through the wide-character file API. Paths are UTF-8 in the
// core and UTF-16 at the system's edge.
class Win32FileSystem : public FileSystem
{
public:
    std::vector<DriveEntry> drives() override;
    // The system keeps one current directory per drive for the process; this asks it, the way
    // "X:" alone resolves.
    std::string currentDirectory(char driveLetter) override;
    char currentDrive() override;
    bool directoryExists(std::string_view dosPath) override;
    bool fileExists(std::string_view dosPath) override;
    // Hidden entries are left out, as the Explorer does by default.
    Listing<std::string> subdirectories(std::string_view dosPath) override;
    Listing<std::string> files(std::string_view dosPath) override;
    Outcome canRead(std::string_view dosPath) override;
    FolderContents contents(std::string_view dosPath) override;
};

} // namespace kelvane

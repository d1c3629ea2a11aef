#pragma once

#include "app/folder_read_queue.h"
#include "app/platform.h"

namespace kelvane {

// Drives, directories and files through the wide-character file API. Paths are UTF-8 in the
// core and UTF-16 at the system's edge. Directories read in the background are read one after
// another on a thread of their own.
class Win32FileSystem : public FileSystem
{
public:
    Win32FileSystem();

    std::vector<DriveEntry> drives() override;
    // The system keeps one current directory per drive for the process; this asks it, the way
    // "X:" alone resolves.
    std::string currentDirectory(char driveLetter) override;
    char currentDrive() override;
    bool directoryExists(std::string_view dosPath) override;
    bool fileExists(std::string_view dosPath) override;
    // Hidden entries are left out, as the Explorer does by default.
    Outcome canRead(std::string_view dosPath) override;
    FolderContents contents(std::string_view dosPath) override;
    void readInBackground(std::string dosPath, std::shared_ptr<const std::atomic_bool> cancelled,
                          std::function<void(FolderContents)> done) override;

private:
    FolderReadQueue m_reads;
};

} // namespace kelvane

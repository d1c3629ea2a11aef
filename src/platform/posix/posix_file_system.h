#pragma once

#include "app/folder_read_queue.h"
#include "app/platform.h"
#include "platform/posix/wine_paths.h"

namespace kelvane {

// Drives, directories and files as programs running under Wine see them. Directories read in the
// background are read one after another on a thread of their own.
class PosixFileSystem : public FileSystem
{
public:
    explicit PosixFileSystem(WineDrives drives);

    std::vector<DriveEntry> drives() override;
    std::string currentDirectory(char driveLetter) override;
    char currentDrive() override;
    bool directoryExists(std::string_view dosPath) override;
    bool fileExists(std::string_view dosPath) override;
    Outcome canRead(std::string_view dosPath) override;
    FolderContents contents(std::string_view dosPath) override;
    void readInBackground(std::string dosPath, std::shared_ptr<const std::atomic_bool> cancelled,
                          std::function<void(FolderContents)> done) override;
    std::string shownPath(std::string_view dosPath) override { return m_drives.shown(dosPath); }

private:
    // The process's working directory as a DOS path, when a drive covers it.
    std::optional<std::string> workingDirectory() const;

    WineDrives m_drives;
    FolderReadQueue m_reads; // goes first, so no read outlives the drives
};

} // namespace kelvane

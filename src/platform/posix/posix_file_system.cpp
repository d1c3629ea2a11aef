#include "platform/posix/posix_file_system.h"

#include "platform/posix/errno_text.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {

namespace {

enum class EntryKind { Directory, File };

std::string quoted(std::string_view dosPath)
{
    return "\"" + std::string(dosPath) + "\"";
}

Failure driveFailure(char letter)
{
    return Failure{std::string("Auf das Laufwerk ") + letter + ": kann nicht zugegriffen werden."};
}

Failure directoryFailure(std::string_view shownPath, const std::string &reason)
{
    return Failure{"Das Verzeichnis " + quoted(shownPath) +
                   " kann nicht gelesen werden: " + reason};
}

bool isKind(mode_t mode, EntryKind kind)
{
    return kind == EntryKind::Directory ? S_ISDIR(mode) : S_ISREG(mode);
}

// A name with a backslash in it cannot be part of a DOS path, so no program could open it.
bool listable(const char *name)
{
    if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
        return false;
    return std::strchr(name, '\\') == nullptr;
}

struct DirCloser
{
    void operator()(DIR *dir) const { ::closedir(dir); }
};

} // namespace

PosixFileSystem::PosixFileSystem(WineDrives drives)
    : m_drives(std::move(drives))
{}

std::vector<DriveEntry> PosixFileSystem::drives()
{
    std::vector<DriveEntry> entries;
    for (const WineDrive &drive : m_drives.drives())
        entries.push_back(DriveEntry{drive.letter, WineDrives::listText(drive)});
    return entries;
}

std::optional<std::string> PosixFileSystem::workingDirectory() const
{
    std::unique_ptr<char, decltype(&std::free)> cwd(::getcwd(nullptr, 0), &std::free);
    if (!cwd)
        return std::nullopt;
    return m_drives.toDos(cwd.get());
}

char PosixFileSystem::currentDrive()
{
    if (const std::optional<std::string> cwd = workingDirectory())
        return (*cwd)[0];
    return m_drives.drives().front().letter;
}

std::string PosixFileSystem::currentDirectory(char driveLetter)
{
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(driveLetter)));
    if (const std::optional<std::string> cwd = workingDirectory(); cwd && (*cwd)[0] == letter)
        return *cwd;
    return std::string{letter, ':', '\\'};
}

bool PosixFileSystem::directoryExists(std::string_view dosPath)
{
    const std::optional<std::string> path = m_drives.toUnix(dosPath);
    struct stat st;
    return path && ::stat(path->c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PosixFileSystem::fileExists(std::string_view dosPath)
{
    const std::optional<std::string> path = m_drives.toUnix(dosPath);
    struct stat st;
    return path && ::stat(path->c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

namespace {

Listing<std::string> list(const WineDrives &drives, std::string_view dosPath, EntryKind kind)
{
    Listing<std::string> listing;
    const std::optional<char> letter = WineDrives::driveLetterOf(dosPath);
    if (!letter) {
        listing.failure = directoryFailure(dosPath, "Der Pfad beginnt nicht mit einem Laufwerk.");
        return listing;
    }
    const WineDrive *drive = drives.drive(*letter);
    const std::optional<std::string> path = drives.toUnix(dosPath);
    if (!drive || !path) {
        listing.failure = driveFailure(*letter);
        return listing;
    }

    const int fd = ::open(path->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    std::unique_ptr<DIR, DirCloser> dir(fd >= 0 ? ::fdopendir(fd) : nullptr);
    if (!dir) {
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        struct stat st;
        if (::stat(drive->target.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            listing.failure = driveFailure(drive->letter);
        else
            listing.failure = directoryFailure(*path, errnoText(error));
        return listing;
    }

    const int dirFd = ::dirfd(dir.get());
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(dir.get());
        if (!entry) {
            if (errno != 0) {
                listing.failure = directoryFailure(*path, errnoText(errno));
                listing.entries.clear();
            }
            break;
        }
        if (!listable(entry->d_name))
            continue;
        bool wanted = false;
        switch (entry->d_type) {
        case DT_DIR:
            wanted = kind == EntryKind::Directory;
            break;
        case DT_REG:
            wanted = kind == EntryKind::File;
            break;
        case DT_LNK:
        case DT_UNKNOWN: {
            // Links count as what they point to; a dangling link is neither.
            struct stat st;
            wanted = ::fstatat(dirFd, entry->d_name, &st, 0) == 0 && isKind(st.st_mode, kind);
            break;
        }
        default:
            break;
        }
        if (wanted)
            listing.entries.emplace_back(entry->d_name);
    }
    return listing;
}

} // namespace

Listing<std::string> PosixFileSystem::subdirectories(std::string_view dosPath)
{
    return list(m_drives, dosPath, EntryKind::Directory);
}

Listing<std::string> PosixFileSystem::files(std::string_view dosPath)
{
    return list(m_drives, dosPath, EntryKind::File);
}

} // namespace kelvane

#include "platform/posix/posix_file_system.h"

#include "platform/posix/errno_text.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <mutex>
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

// Opens a directory for reading, or says why it cannot be read.
std::unique_ptr<DIR, DirCloser> openDirectory(const WineDrives &drives, std::string_view dosPath,
                                              std::optional<Failure> &failure)
{
    const std::optional<char> letter = WineDrives::driveLetterOf(dosPath);
    if (!letter) {
        failure = directoryFailure(dosPath, "Der Pfad beginnt nicht mit einem Laufwerk.");
        return nullptr;
    }
    const WineDrive *drive = drives.drive(*letter);
    const std::optional<std::string> path = drives.toUnix(dosPath);
    if (!drive || !path) {
        failure = driveFailure(*letter);
        return nullptr;
    }
    const int fd = ::open(path->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    std::unique_ptr<DIR, DirCloser> dir(fd >= 0 ? ::fdopendir(fd) : nullptr);
    if (!dir) {
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        struct stat st;
        if (::stat(drive->target.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            failure = driveFailure(drive->letter);
        else
            failure = directoryFailure(*path, errnoText(error));
    }
    return dir;
}

// Reads a directory's sub-directories and files in one pass; stops early when cancelled.
FolderContents read(const WineDrives &drives, std::string_view dosPath,
                    const std::atomic_bool *cancelled = nullptr)
{
    FolderContents contents;
    std::unique_ptr<DIR, DirCloser> dir = openDirectory(drives, dosPath, contents.failure);
    if (!dir)
        return contents;
    const int dirFd = ::dirfd(dir.get());
    for (unsigned count = 0;; ++count) {
        if (cancelled && count % 4096 == 0 && cancelled->load(std::memory_order_relaxed))
            return {};
        errno = 0;
        const dirent *entry = ::readdir(dir.get());
        if (!entry) {
            if (errno != 0) {
                contents = {};
                contents.failure = directoryFailure(drives.shown(dosPath), errnoText(errno));
            }
            break;
        }
        if (!listable(entry->d_name))
            continue;
        mode_t mode = 0;
        switch (entry->d_type) {
        case DT_DIR:
            mode = S_IFDIR;
            break;
        case DT_REG:
            mode = S_IFREG;
            break;
        case DT_LNK:
        case DT_UNKNOWN: {
            // Links count as what they point to; a dangling link is neither.
            struct stat st;
            if (::fstatat(dirFd, entry->d_name, &st, 0) == 0)
                mode = st.st_mode;
            break;
        }
        default:
            break;
        }
        if (isKind(mode, EntryKind::Directory))
            contents.directories.emplace_back(entry->d_name);
        else if (isKind(mode, EntryKind::File))
            contents.files.emplace_back(entry->d_name);
    }
    return contents;
}

} // namespace

PosixFileSystem::PosixFileSystem(WineDrives drives)
    : m_drives(std::move(drives))
    , m_reads([this](const std::string &dosPath, const std::atomic_bool &cancelled) {
        return read(m_drives, dosPath, &cancelled);
    })
{}

Outcome PosixFileSystem::canRead(std::string_view dosPath)
{
    std::optional<Failure> failure;
    openDirectory(m_drives, dosPath, failure);
    return failure;
}

FolderContents PosixFileSystem::contents(std::string_view dosPath)
{
    return read(m_drives, dosPath);
}

void PosixFileSystem::readInBackground(std::string dosPath,
                                       std::shared_ptr<const std::atomic_bool> cancelled,
                                       std::function<void(FolderContents)> done)
{
    m_reads.post(std::move(dosPath), std::move(cancelled), std::move(done));
}

} // namespace kelvane

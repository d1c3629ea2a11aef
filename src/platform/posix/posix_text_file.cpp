#include "platform/posix/posix_text_file.h"

#include "platform/posix/errno_text.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {

namespace {

std::string directoryOf(const std::string &path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Writing through a link replaces the file it points to, not the link.
std::string followLink(const std::string &path)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                         &std::free);
    return resolved ? std::string(resolved.get()) : path;
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// A new, empty file beside `path` that nobody else uses. It is opened with the usual creation
// mode so that the umask applies just as for a file the user creates.
int createTemporary(const std::string &path, std::string &temporaryPath)
{
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    const std::string directory = directoryOf(path);
    const std::string name = path.substr(path.find_last_of('/') + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryPath = directory + "/." + name + ".kelvane-" + std::to_string(::getpid()) + "-" +
                        std::to_string(counter++) + "-" + std::to_string(random());
        const int fd = ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

PosixTextFileWriter::PosixTextFileWriter(WineDrives drives)
    : m_drives(std::move(drives))
{}

Outcome PosixTextFileWriter::writeFile(std::string_view dosPath, std::string_view bytes)
{
    const auto failure = [shown = m_drives.shown(dosPath)](const std::string &reason) {
        return Failure{"Die Datei \"" + shown + "\" konnte nicht geschrieben werden: " + reason};
    };

    const std::optional<std::string> unixPath = m_drives.toUnix(dosPath);
    if (!unixPath) {
        const std::optional<char> letter = WineDrives::driveLetterOf(dosPath);
        return failure(letter ? std::string("Das Laufwerk ") + *letter + ": gibt es nicht."
                              : std::string("Der Pfad beginnt nicht mit einem Laufwerk."));
    }
    const std::string path = followLink(*unixPath);

    struct stat existing;
    const bool replacing = ::stat(path.c_str(), &existing) == 0;
    if (replacing && S_ISDIR(existing.st_mode))
        return failure(errnoText(EISDIR));

    std::string temporaryPath;
    const int fd = createTemporary(path, temporaryPath);
    if (fd < 0)
        return failure(errnoText(errno));

    // The new file keeps the permissions the user gave the old one where we may set them.
    if (replacing)
        ::fchmod(fd, existing.st_mode & 07777);
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temporaryPath.c_str(), path.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temporaryPath.c_str());
        return failure(errnoText(error));
    }

    // Makes the new name itself last through a power cut.
    const int dirFd = ::open(directoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return std::nullopt;
}

} // namespace kelvane

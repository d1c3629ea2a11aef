#include "platform/posix/wine_paths.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace kelvane {

namespace {

char upper(char c)
{
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Resolves "." and ".." and drops empty components of an absolute Unix path; ".." at the root
// stays at the root.
std::string normalizeAbsolute(std::string_view path)
{
    std::vector<std::string_view> parts;
    std::size_t pos = 0;
    while (pos <= path.size()) {
        const std::size_t end = std::min(path.find('/', pos), path.size());
        const std::string_view part = path.substr(pos, end - pos);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        pos = end + 1;
    }
    if (parts.empty())
        return "/";
    std::string result;
    for (std::string_view part : parts) {
        result += '/';
        result += part;
    }
    return result;
}

std::optional<std::string> readLink(const std::string &path)
{
    std::array<char, PATH_MAX> buffer;
    const ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
    if (length < 0 || static_cast<std::size_t>(length) == buffer.size())
        return std::nullopt;
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

std::optional<std::string> realPath(const std::string &path)
{
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                         &std::free);
    if (!resolved)
        return std::nullopt;
    return std::string(resolved.get());
}

// A drive is a link named like "c:" in dosdevices. Wine also keeps "c::" links there for raw
// devices; those and anything else are no drives.
std::optional<WineDrive> readDrive(const std::string &dosdevices, const char *name)
{
    if (!isAsciiLetter(name[0]) || name[1] != ':' || name[2] != '\0')
        return std::nullopt;
    const std::string linkPath = dosdevices + '/' + name;
    struct stat linkStat;
    if (::lstat(linkPath.c_str(), &linkStat) != 0 || !S_ISLNK(linkStat.st_mode))
        return std::nullopt;
    const std::optional<std::string> link = readLink(linkPath);
    if (!link || link->empty())
        return std::nullopt;

    WineDrive drive;
    drive.letter = upper(name[0]);
    drive.target = normalizeAbsolute(link->front() == '/' ? *link : dosdevices + '/' + *link);
    struct stat targetStat;
    if (::stat(linkPath.c_str(), &targetStat) == 0) {
        if (!S_ISDIR(targetStat.st_mode))
            return std::nullopt;
        drive.canonicalTarget = realPath(linkPath).value_or(drive.target);
    } else {
        // Still a drive, only one that cannot be read now: a CD that is not mounted.
        drive.canonicalTarget = drive.target;
    }
    return drive;
}

std::vector<WineDrive> readDrives(const std::string &prefix)
{
    std::vector<WineDrive> drives;
    const std::string dosdevices = prefix + "/dosdevices";
    DIR *dir = ::opendir(dosdevices.c_str());
    if (!dir)
        return drives;
    while (const dirent *entry = ::readdir(dir)) {
        std::optional<WineDrive> drive = readDrive(dosdevices, entry->d_name);
        if (!drive)
            continue;
        const bool known = std::any_of(drives.begin(), drives.end(), [&](const WineDrive &d) {
            return d.letter == drive->letter;
        });
        if (!known)
            drives.push_back(std::move(*drive));
    }
    ::closedir(dir);
    std::sort(drives.begin(), drives.end(),
              [](const WineDrive &a, const WineDrive &b) { return a.letter < b.letter; });
    return drives;
}

// The part of `path` below `dir`, or empty when `dir` does not contain `path`.
std::optional<std::string_view> below(std::string_view path, std::string_view dir)
{
    if (dir == "/")
        return path.substr(1);
    if (path.substr(0, dir.size()) != dir)
        return std::nullopt;
    if (path.size() == dir.size())
        return std::string_view();
    if (path[dir.size()] != '/')
        return std::nullopt;
    return path.substr(dir.size() + 1);
}

std::string getEnvironment(const char *name)
{
    const char *value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

} // namespace

WineDrives::WineDrives(std::optional<std::string> prefix)
{
    if (prefix && !prefix->empty())
        m_drives = readDrives(*prefix);
    if (m_drives.empty())
        m_drives.push_back(WineDrive{'Z', "/", "/"});
}

WineDrives WineDrives::fromEnvironment()
{
    const std::string winePrefix = getEnvironment("WINEPREFIX");
    if (!winePrefix.empty())
        return WineDrives(winePrefix);
    const std::string home = getEnvironment("HOME");
    if (!home.empty())
        return WineDrives(home + "/.wine");
    return WineDrives(std::nullopt);
}

const WineDrive *WineDrives::drive(char letter) const
{
    letter = upper(letter);
    for (const WineDrive &d : m_drives) {
        if (d.letter == letter)
            return &d;
    }
    return nullptr;
}

std::optional<char> WineDrives::driveLetterOf(std::string_view dosPath)
{
    if (dosPath.size() < 2 || !isAsciiLetter(dosPath[0]) || dosPath[1] != ':')
        return std::nullopt;
    return upper(dosPath[0]);
}

std::string WineDrives::shown(std::string_view dosPath) const
{
    return toUnix(dosPath).value_or(std::string(dosPath));
}

std::optional<std::string> WineDrives::toUnix(std::string_view dosPath) const
{
    const std::optional<char> letter = driveLetterOf(dosPath);
    if (!letter)
        return std::nullopt;
    const WineDrive *d = drive(*letter);
    if (!d)
        return std::nullopt;

    // Wine takes forward slashes as separators as well; "." and ".." never leave the drive.
    std::string relative(dosPath.substr(2));
    std::replace(relative.begin(), relative.end(), '\\', '/');
    const std::string inside = normalizeAbsolute("/" + relative);
    if (inside == "/")
        return d->target;
    return d->target == "/" ? inside : d->target + inside;
}

std::optional<std::string> WineDrives::toDos(std::string_view unixPath) const
{
    if (unixPath.empty())
        return std::nullopt;
    std::error_code error;
    const std::filesystem::path absolute =
        std::filesystem::absolute(std::filesystem::path(std::string(unixPath)), error);
    if (error)
        return std::nullopt;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(absolute, error);
    if (error)
        return std::nullopt;
    const std::string path = normalizeAbsolute(resolved.string());

    // The target as the link names it is tried too, for a drive that is not there right now.
    const WineDrive *best = nullptr;
    std::string_view rest;
    std::size_t bestLength = 0;
    for (const WineDrive &d : m_drives) {
        for (const std::string *target : {&d.canonicalTarget, &d.target}) {
            const std::optional<std::string_view> inside = below(path, *target);
            if (inside && (!best || target->size() > bestLength)) {
                best = &d;
                rest = *inside;
                bestLength = target->size();
            }
        }
    }
    if (!best || rest.find('\\') != std::string_view::npos)
        return std::nullopt;

    std::string dos{best->letter, ':', '\\'};
    for (char c : rest)
        dos += c == '/' ? '\\' : c;
    return dos;
}

std::string WineDrives::listText(const WineDrive &drive)
{
    const std::size_t slash = drive.target.rfind('/');
    const std::string label = drive.target == "/" ? "/" : drive.target.substr(slash + 1);
    return std::string{static_cast<char>(std::tolower(static_cast<unsigned char>(drive.letter))),
                       ':'} +
           " [" + label + "]";
}

} // namespace kelvane

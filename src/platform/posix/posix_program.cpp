#include "platform/posix/posix_program.h"

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {

namespace {

// Like "mkdir -p": creates every missing directory along the path.
bool makeDirectories(const std::string &path, mode_t mode)
{
    struct stat st;
    if (::stat(path.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    const std::size_t slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !makeDirectories(path.substr(0, slash), mode))
        return false;
    return ::mkdir(path.c_str(), mode) == 0 || errno == EEXIST;
}

std::string getEnvironment(const char *name)
{
    const char *value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

} // namespace

PosixProgramInfo::PosixProgramInfo(WineDrives drives, std::string userDataDirectory)
    : m_drives(std::move(drives))
    , m_userDataDirectory(std::move(userDataDirectory))
{}

std::string PosixProgramInfo::userDataDirectoryFromEnvironment()
{
    // Relative values are to be ignored, as the base directory convention says.
    const std::string dataHome = getEnvironment("XDG_DATA_HOME");
    if (!dataHome.empty() && dataHome.front() == '/')
        return dataHome + "/kelvane";
    const std::string home = getEnvironment("HOME");
    if (!home.empty())
        return home + "/.local/share/kelvane";
    return {};
}

std::string PosixProgramInfo::programDirectory()
{
    return m_drives.toDos(ownDirectory()).value_or(std::string());
}

std::string PosixProgramInfo::helpDirectory()
{
    const std::string directory = ownDirectory();
    if (directory.empty())
        return {};
    return m_drives.toDos(helpDirectoryFor(directory)).value_or(std::string());
}

std::string PosixProgramInfo::helpDirectoryFor(const std::string &programDirectory)
{
    struct stat st;
    const auto exists = [&st](const std::string &path) { return ::stat(path.c_str(), &st) == 0; };
    if (exists(programDirectory + "/deutsch.chm") || exists(programDirectory + "/hilfe"))
        return programDirectory;
    const std::string installed =
        std::filesystem::path(programDirectory + "/" KELVANE_HELP_FROM_PROGRAM)
            .lexically_normal()
            .string();
    if (exists(installed + "/deutsch.chm") || exists(installed + "/hilfe"))
        return installed;
    return programDirectory;
}

std::string PosixProgramInfo::ownDirectory()
{
    std::array<char, PATH_MAX> buffer;
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0 || static_cast<std::size_t>(length) == buffer.size())
        return {};
    const std::string executable(buffer.data(), static_cast<std::size_t>(length));
    const std::size_t slash = executable.find_last_of('/');
    return slash == 0 ? "/" : executable.substr(0, slash);
}

std::string PosixProgramInfo::userDataDirectory()
{
    if (m_userDataDirectory.empty() || !makeDirectories(m_userDataDirectory, 0700))
        return {};
    return m_drives.toDos(m_userDataDirectory).value_or(std::string());
}

} // namespace kelvane

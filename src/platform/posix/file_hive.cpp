#include "platform/posix/file_hive.h"

#include "platform/posix/errno_text.h"
#include "settings/reg_file_format.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace kelvane {

namespace {

constexpr auto kLargestReadableFile = static_cast<long long>(kLargestSettingsFile);

std::string tooLarge()
{
    return "Die Datei ist größer als " + std::to_string(kLargestSettingsFile >> 20) + " MB.";
}

// Closes a descriptor on every path out of a function; closing the lock file releases the lock.
class Descriptor
{
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }
    // Closes now and tells whether all was written.
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

int openFile(const std::string &path, int flags, mode_t mode = 0)
{
    int fd;
    do
        fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
    while (fd < 0 && errno == EINTR);
    return fd;
}

std::string directoryOf(const std::string &path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Creates the directory and those above it that are missing, readable for the user only.
void makeDirectories(const std::string &directory)
{
    for (auto slash = directory.find('/', 1); slash != std::string::npos;
         slash = directory.find('/', slash + 1))
        ::mkdir(directory.substr(0, slash).c_str(), 0700);
    ::mkdir(directory.c_str(), 0700);
}

bool writeAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::optional<std::string> readAll(int fd)
{
    std::string data;
    char buffer[16384];
    while (true) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            return data;
        data.append(buffer, static_cast<std::size_t>(got));
        if (static_cast<long long>(data.size()) > kLargestReadableFile)
            return std::nullopt;
    }
}

// Makes a rename in the directory durable.
void syncDirectory(const std::string &directory)
{
    Descriptor dir(openFile(directory, O_RDONLY | O_DIRECTORY));
    if (dir)
        ::fsync(dir.get());
}

template <typename Identity> Identity identityFrom(const struct stat &status)
{
    Identity identity;
    identity.exists = true;
    identity.device = status.st_dev;
    identity.inode = status.st_ino;
    identity.size = status.st_size;
    identity.modifiedSeconds = status.st_mtim.tv_sec;
    identity.modifiedNanoseconds = status.st_mtim.tv_nsec;
    identity.changedSeconds = status.st_ctim.tv_sec;
    identity.changedNanoseconds = status.st_ctim.tv_nsec;
    return identity;
}

// Takes the lock beside the settings file; -1 with errno set on failure. Closing the descriptor
// releases the lock.
int takeLock(const std::string &filePath, bool makeDirectory)
{
    const std::string lockPath = filePath + ".lock";
    const auto openLock = [&] { return openFile(lockPath, O_RDWR | O_CREAT | O_NOFOLLOW, 0600); };
    int fd = openLock();
    if (fd < 0 && errno == ENOENT && makeDirectory) {
        makeDirectories(directoryOf(filePath));
        fd = openLock();
    }
    if (fd < 0)
        return -1;
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            const int error = errno;
            ::close(fd);
            errno = error;
            return -1;
        }
    }
    return fd;
}

std::string timeStamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char text[32] = "";
    if (::localtime_r(&now, &local))
        std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

} // namespace

FileHiveBackend::FileHiveBackend(std::string filePath)
    : m_filePath(std::move(filePath))
{}

FileHiveBackend::~FileHiveBackend()
{
    // Writes of a batch left open, or of a commit that failed, get one more chance.
    commit();
}

std::string FileHiveBackend::defaultSettingsPath()
{
    constexpr std::string_view file = "/kelvane/settings.reg";
    // A relative XDG_CONFIG_HOME is to be ignored.
    const char *configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome && configHome[0] == '/')
        return configHome + std::string(file);

    std::string home;
    if (const char *homeVariable = std::getenv("HOME"); homeVariable && homeVariable[0] != '\0') {
        home = homeVariable;
    } else {
        passwd entry{};
        passwd *found = nullptr;
        char buffer[4096];
        if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found &&
            found->pw_dir)
            home = found->pw_dir;
    }
    if (home.empty())
        return {};
    return home + "/.config" + std::string(file);
}

RegKey FileHiveBackend::createKey(RegKey parent, std::string_view subKey, std::uint32_t access)
{
    // A backslash is neither a control character nor part of a longer UTF-8 sequence, so the
    // whole path can be checked at once.
    if (!isWritableRegName(subKey))
        return kInvalidKey;
    const std::size_t journalled = m_journal.size();
    const RegKey key = TreeRegistryBackend::createKey(parent, subKey, access);
    if (m_batchDepth == 0 && m_journal.size() != journalled)
        commit();
    return key;
}

bool FileHiveBackend::setValue(RegKey key, std::string_view name, std::uint32_t type,
                               std::string_view data)
{
    if (!isWritableRegName(name))
        return false;
    const bool set = TreeRegistryBackend::setValue(key, name, type, data);
    if (set && m_batchDepth == 0)
        commit();
    return set;
}

void FileHiveBackend::beginBatch()
{
    ++m_batchDepth;
}

void FileHiveBackend::endBatch()
{
    if (m_batchDepth > 0 && --m_batchDepth == 0)
        commit();
}

void FileHiveBackend::refresh(Use use)
{
    // A window's save writes one value after another; the batch reads the file again under
    // the lock before it puts its values on top, so the file is not looked at for each of them.
    if (m_batchDepth > 0 && use == Use::Write)
        return;
    try {
        reloadIfChanged();
    } catch (...) {
        // Out of memory while reading: the keys read so far stay.
    }
}

void FileHiveBackend::changed(RegKey root, std::string_view path, const StoredValue *value)
{
    try {
        m_journal.push_back(
            {root, std::string(path), value ? std::optional<StoredValue>(*value) : std::nullopt});
    } catch (...) {
        // Out of memory: the change stays in memory only.
    }
}

std::vector<SettingsProblem> FileHiveBackend::takeProblems()
{
    return std::exchange(m_problems, {});
}

void FileHiveBackend::reloadIfChanged()
{
    FileIdentity now;
    struct stat status;
    if (::stat(m_filePath.c_str(), &status) == 0)
        now = identityFrom<FileIdentity>(status);
    if (m_loaded && *m_loaded == now)
        return;
    load();
    if (m_unreadable)
        setAsideUnderLock();
}

void FileHiveBackend::load()
{
    roots().clear();
    m_unreadable = false;
    m_unreadableReason.clear();
    m_loaded = FileIdentity{};

    Descriptor file(openFile(m_filePath, O_RDONLY));
    if (!file) {
        const int error = errno;
        struct stat status;
        if (error != ENOENT && error != ENOTDIR && ::stat(m_filePath.c_str(), &status) == 0) {
            m_loaded = identityFrom<FileIdentity>(status);
            m_unreadable = true;
            m_unreadableReason = errnoText(error);
        }
        replayJournal();
        return;
    }

    struct stat status;
    if (::fstat(file.get(), &status) != 0) {
        m_unreadable = true;
        m_unreadableReason = errnoText(errno);
    } else {
        m_loaded = identityFrom<FileIdentity>(status);
        m_unreadable = true;
        if (S_ISDIR(status.st_mode)) {
            m_unreadableReason = "Unter diesem Namen liegt ein Verzeichnis statt einer Datei.";
        } else if (!S_ISREG(status.st_mode)) {
            m_unreadableReason = "Unter diesem Namen liegt keine gewöhnliche Datei.";
        } else if (status.st_size > kLargestReadableFile) {
            m_unreadableReason = tooLarge();
        } else if (const auto text = (errno = 0, readAll(file.get())); !text) {
            // It grew while being read, or reading failed.
            m_unreadableReason = errno == 0 ? tooLarge() : errnoText(errno);
        } else {
            RegFileContent content = parseRegFile(*text);
            if (!content.error) {
                roots() = std::move(content.roots);
                m_unreadable = false;
            } else {
                m_unreadableReason =
                    "Zeile " + std::to_string(content.error->line) + " ist kein gültiger Eintrag.";
            }
        }
    }
    replayJournal();
}

void FileHiveBackend::replayJournal()
{
    for (const JournalEntry &entry : m_journal) {
        RegNode &key = rootNode(entry.root).findOrCreate(entry.keyPath);
        if (entry.value)
            key.setValue(entry.value->name, entry.value->type, entry.value->data);
    }
}

void FileHiveBackend::commit()
{
    if (m_journal.empty())
        return;
    std::optional<std::string> failure;
    try {
        failure = commitLocked();
    } catch (...) {
        // Out of memory: the file stays as it was and the journal is kept for the next write.
        failure = errnoText(ENOMEM);
    }
    if (!failure) {
        m_saveFailing = false;
        return;
    }
    // One report for a run of failed saves; the journal is written with the next one that works.
    if (!m_saveFailing)
        m_problems.push_back({SettingsProblem::Kind::SaveFailed, m_filePath, {}, *failure});
    m_saveFailing = true;
}

std::optional<std::string> FileHiveBackend::fileToReplace() const
{
    // A link is followed as the system would, a relative target from the link's directory.
    std::string path = m_filePath;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat status;
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return path;
        std::string target(4096, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0 || static_cast<std::size_t>(length) >= target.size())
            return std::nullopt;
        target.resize(static_cast<std::size_t>(length));
        path = target.front() == '/' ? target : directoryOf(path) + '/' + target;
    }
    errno = ELOOP;
    return std::nullopt;
}

std::optional<std::string> FileHiveBackend::commitLocked()
{
    Descriptor lock(takeLock(m_filePath, true));
    if (!lock)
        return errnoText(errno);

    // Whatever another instance wrote since is read, however alike the file looks; its values
    // stay and ours go on top.
    load();
    if (m_unreadable) {
        if (auto failure = setAside())
            return failure;
    }

    // Each section repeats its key's whole path, so a file that was read may grow past what
    // would be read again; then the old file stays.
    const std::optional<std::string> text = serializeRegFile(roots(), kLargestSettingsFile);
    if (!text)
        return "Die Einstellungen wären größer als " + std::to_string(kLargestSettingsFile >> 20) +
               " MB und könnten nicht wieder gelesen werden.";
    const std::optional<std::string> target = fileToReplace();
    if (!target)
        return errnoText(errno);
    const std::string tempPath = *target + ".tmp";
    // Left behind by an instance that died while writing; the lock says nobody writes it now.
    ::unlink(tempPath.c_str());
    Descriptor temp(openFile(tempPath, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0600));
    if (!temp)
        return errnoText(errno);
    // The data reach the disk before the rename, so the name never points at a torn file. The
    // directory itself is not synced: until the system writes it, a crash keeps the old file,
    // which is whole too, and a save does not wait for a second disk flush.
    bool written = writeAll(temp.get(), *text) && ::fdatasync(temp.get()) == 0;
    int error = errno;
    if (!temp.close() && written) {
        written = false;
        error = errno;
    }
    if (written && ::rename(tempPath.c_str(), target->c_str()) != 0) {
        written = false;
        error = errno;
    }
    if (!written) {
        ::unlink(tempPath.c_str());
        return errnoText(error);
    }

    // Still under the lock, so this is the file just written; the rename changed its ctime.
    struct stat status;
    if (::stat(m_filePath.c_str(), &status) == 0)
        m_loaded = identityFrom<FileIdentity>(status);
    else
        m_loaded.reset();
    m_journal.clear();
    ++m_fileReplaceCount;
    return std::nullopt;
}

void FileHiveBackend::setAsideUnderLock()
{
    Descriptor lock(takeLock(m_filePath, false));
    if (!lock) {
        m_problems.push_back(
            {SettingsProblem::Kind::Unreadable, m_filePath, {}, m_unreadableReason});
        return;
    }
    // Another instance may have set it aside or replaced it meanwhile.
    load();
    if (m_unreadable)
        setAside();
}

std::optional<std::string> FileHiveBackend::setAside()
{
    // A link stays where it is; the unreadable file it points to is moved.
    const std::optional<std::string> target = fileToReplace();
    int error = errno;
    if (target) {
        const std::string stem = *target + ".unreadable-" + timeStamp();
        error = EEXIST;
        for (int counter = 1; counter < 1000; ++counter) {
            const std::string candidate =
                counter == 1 ? stem : stem + '-' + std::to_string(counter);
            struct stat status;
            if (::lstat(candidate.c_str(), &status) == 0)
                continue;
            if (errno != ENOENT || ::rename(target->c_str(), candidate.c_str()) != 0) {
                error = errno;
                break;
            }
            syncDirectory(directoryOf(*target));
            m_problems.push_back(
                {SettingsProblem::Kind::SetAside, m_filePath, candidate, m_unreadableReason});
            m_setAsidePath = candidate;
            m_unreadable = false;
            m_loaded = FileIdentity{};
            return std::nullopt;
        }
    }
    const std::string reason = m_unreadableReason + ' ' + errnoText(error);
    if (m_problems.empty() || m_problems.back().kind != SettingsProblem::Kind::Unreadable)
        m_problems.push_back({SettingsProblem::Kind::Unreadable, m_filePath, {}, reason});
    return "Die Datei konnte nicht gelesen und nicht beiseitegelegt werden. " + errnoText(error);
}

} // namespace kelvane

#include "platform/win32/win32_file_system.h"

#include "platform/win32/win32_text.h"
#include "util/dos_path.h"

#include <cctype>

namespace kelvane {

namespace {

// No "insert a disk" box for a drive without a medium while the lists look at it.
class QuietDriveErrors
{
public:
    QuietDriveErrors() { ::SetThreadErrorMode(SEM_FAILCRITICALERRORS, &m_previous); }
    ~QuietDriveErrors() { ::SetThreadErrorMode(m_previous, nullptr); }
    QuietDriveErrors(const QuietDriveErrors &) = delete;
    QuietDriveErrors &operator=(const QuietDriveErrors &) = delete;

private:
    DWORD m_previous = 0;
};

class FindHandle
{
public:
    explicit FindHandle(HANDLE handle)
        : m_handle(handle)
    {}
    ~FindHandle()
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            ::FindClose(m_handle);
    }
    FindHandle(const FindHandle &) = delete;
    FindHandle &operator=(const FindHandle &) = delete;
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

DWORD attributesOf(std::string_view dosPath)
{
    QuietDriveErrors quiet;
    return ::GetFileAttributesW(win32::widen(dosPath).c_str());
}

char upper(char letter)
{
    return static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
}

bool isDriveError(DWORD error)
{
    return error == ERROR_NOT_READY || error == ERROR_INVALID_DRIVE ||
           error == ERROR_UNRECOGNIZED_MEDIA || error == ERROR_NO_MEDIA_IN_DRIVE ||
           error == ERROR_BAD_NETPATH || error == ERROR_DEV_NOT_EXIST;
}

// Reads a directory in one pass, the kinds of entry asked for; with neither, only whether it
// can be read. Stops early, with nothing, when cancelled.
FolderContents read(std::string_view dosPath, bool directories, bool files,
                    const std::atomic_bool *cancelled = nullptr)
{
    FolderContents contents;
    const std::optional<char> letter = dos::driveOf(dosPath);
    const auto directoryFailure = [dosPath](const std::string &reason) {
        return Failure{"Das Verzeichnis \"" + std::string(dosPath) +
                       "\" kann nicht gelesen werden: " + reason};
    };

    QuietDriveErrors quiet;
    WIN32_FIND_DATAW found;
    const std::wstring pattern = win32::widen(dos::join(dosPath, "*"));
    FindHandle find(::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                       FindExSearchNameMatch, nullptr, 0));
    if (find.get() == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        // An empty drive root has not even "." in it.
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES)
            return contents;
        if (letter && isDriveError(error))
            contents.failure = Failure{std::string("Auf das Laufwerk ") + *letter +
                                       ": kann nicht zugegriffen werden."};
        else
            contents.failure = directoryFailure(win32::errorText(error));
        return contents;
    }
    if (!directories && !files)
        return contents;

    unsigned count = 0;
    do {
        if (cancelled && ++count % 4096 == 0 && cancelled->load(std::memory_order_relaxed))
            return {};
        const std::wstring_view name = found.cFileName;
        if (name == L"." || name == L".." || (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN))
            continue;
        const bool isDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isDirectory ? directories : files)
            (isDirectory ? contents.directories : contents.files).push_back(win32::narrow(name));
    } while (::FindNextFileW(find.get(), &found));

    const DWORD error = ::GetLastError();
    if (error != ERROR_NO_MORE_FILES) {
        contents = {};
        contents.failure = directoryFailure(win32::errorText(error));
    }
    return contents;
}

std::wstring volumeLabel(const std::wstring &root)
{
    wchar_t label[MAX_PATH + 1] = {};
    if (!::GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr,
                                 nullptr, 0))
        return {};
    return label;
}

} // namespace

Win32FileSystem::Win32FileSystem()
    : m_reads([](const std::string &dosPath, const std::atomic_bool &cancelled) {
        return read(dosPath, true, true, &cancelled);
    })
{}

std::vector<DriveEntry> Win32FileSystem::drives()
{
    std::vector<DriveEntry> entries;
    char roots[4 * 26 + 2] = {};
    const DWORD length = ::GetLogicalDriveStringsA(sizeof roots, roots);
    if (length == 0 || length > sizeof roots)
        return entries;

    QuietDriveErrors quiet;
    for (const char *root = roots; *root; root += std::char_traits<char>::length(root) + 1) {
        if (!std::isalpha(static_cast<unsigned char>(root[0])) || root[1] != ':')
            continue;
        DriveEntry entry;
        entry.letter = upper(root[0]);
        entry.text = {static_cast<char>(std::tolower(static_cast<unsigned char>(root[0]))), ':'};
        // Only drives that are always there are asked for their name: a floppy or an empty CD
        // drive would make the list wait or fail.
        const UINT type = ::GetDriveTypeA(root);
        if (type == DRIVE_FIXED || type == DRIVE_RAMDISK) {
            const std::wstring label = volumeLabel(win32::widen(root));
            if (!label.empty())
                entry.text += " [" + win32::narrow(label) + "]";
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string Win32FileSystem::currentDirectory(char driveLetter)
{
    const char letter = upper(driveLetter);
    const std::string root{letter, ':', '\\'};
    const wchar_t drive[] = {static_cast<wchar_t>(letter), L':', L'\0'};
    wchar_t small[MAX_PATH];
    DWORD length = ::GetFullPathNameW(drive, MAX_PATH, small, nullptr);
    if (length == 0)
        return root;
    if (length < MAX_PATH)
        return dos::normalize(win32::narrow(std::wstring_view(small, length)));
    std::wstring large(length, L'\0');
    length = ::GetFullPathNameW(drive, static_cast<DWORD>(large.size()), large.data(), nullptr);
    if (length == 0 || length >= large.size())
        return root;
    large.resize(length);
    return dos::normalize(win32::narrow(large));
}

char Win32FileSystem::currentDrive()
{
    wchar_t directory[MAX_PATH];
    const DWORD length = ::GetCurrentDirectoryW(MAX_PATH, directory);
    // A directory on a network share without a letter, or one too long to ask for: the drive
    // of the system stands in.
    if (length >= 2 && length < MAX_PATH && directory[1] == L':' && directory[0] < 128 &&
        std::isalpha(static_cast<int>(directory[0])))
        return upper(static_cast<char>(directory[0]));
    wchar_t system[MAX_PATH];
    const UINT systemLength = ::GetSystemDirectoryW(system, MAX_PATH);
    if (systemLength >= 2 && systemLength < MAX_PATH && system[1] == L':' && system[0] < 128)
        return upper(static_cast<char>(system[0]));
    return 'C';
}

bool Win32FileSystem::directoryExists(std::string_view dosPath)
{
    const DWORD attributes = attributesOf(dosPath);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::fileExists(std::string_view dosPath)
{
    const DWORD attributes = attributesOf(dosPath);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

Outcome Win32FileSystem::canRead(std::string_view dosPath)
{
    return read(dosPath, false, false).failure;
}

FolderContents Win32FileSystem::contents(std::string_view dosPath)
{
    return read(dosPath, true, true);
}

void Win32FileSystem::readInBackground(std::string dosPath,
                                       std::shared_ptr<const std::atomic_bool> cancelled,
                                       std::function<void(FolderContents)> done)
{
    m_reads.post(std::move(dosPath), std::move(cancelled), std::move(done));
}

} // namespace kelvane

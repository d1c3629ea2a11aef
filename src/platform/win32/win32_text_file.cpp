#include "platform/win32/win32_text_file.h"

#include "platform/win32/win32_text.h"

#include <algorithm>
#include <atomic>

namespace kelvane {

namespace {

class FileHandle
{
public:
    explicit FileHandle(HANDLE handle)
        : m_handle(handle)
    {}
    ~FileHandle() { close(); }
    FileHandle(const FileHandle &) = delete;
    FileHandle &operator=(const FileHandle &) = delete;

    HANDLE get() const { return m_handle; }
    bool close()
    {
        const bool closed = m_handle == INVALID_HANDLE_VALUE || ::CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE m_handle;
};

bool writeAll(HANDLE file, std::string_view bytes)
{
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// A new, empty file beside `path` that nobody else uses.
HANDLE createTemporary(const std::wstring &path, std::wstring &temporaryPath)
{
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryPath = path + L".kelvane-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                        std::to_wstring(counter++) + L".tmp";
        const HANDLE file = ::CreateFileW(temporaryPath.c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS)
            return file;
    }
    return INVALID_HANDLE_VALUE;
}

} // namespace

Outcome Win32TextFileWriter::writeFile(std::string_view dosPath, std::string_view bytes)
{
    const auto failure = [dosPath](DWORD error) {
        return Failure{"Die Datei \"" + std::string(dosPath) +
                       "\" konnte nicht geschrieben werden: " + win32::errorText(error)};
    };

    const std::wstring path = win32::widen(dosPath);
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return Failure{"Die Datei \"" + std::string(dosPath) +
                       "\" konnte nicht geschrieben werden: Unter diesem Namen gibt es bereits "
                       "ein Verzeichnis."};

    std::wstring temporaryPath;
    FileHandle file(createTemporary(path, temporaryPath));
    if (file.get() == INVALID_HANDLE_VALUE)
        return failure(::GetLastError());

    bool ok = writeAll(file.get(), bytes) && ::FlushFileBuffers(file.get());
    DWORD error = ok ? ERROR_SUCCESS : ::GetLastError();
    if (!file.close() && ok) {
        ok = false;
        error = ::GetLastError();
    }
    if (ok && !::MoveFileExW(temporaryPath.c_str(), path.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ok = false;
        error = ::GetLastError();
    }
    if (!ok) {
        ::DeleteFileW(temporaryPath.c_str());
        return failure(error);
    }
    return std::nullopt;
}

} // namespace kelvane

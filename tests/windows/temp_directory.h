#pragma once

#include "platform/win32/win32_text.h"

#include <gtest/gtest.h>
#include <string>

namespace kelvane::testing {

// Deletes a directory with everything in it.
inline void removeTree(const std::wstring &path)
{
    WIN32_FIND_DATAW found;
    const HANDLE find = ::FindFirstFileW((path + L"\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = path + L"\\" + name;
            ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(child);
            else
                ::DeleteFileW(child.c_str());
        } while (::FindNextFileW(find, &found));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(path.c_str());
}

// A new directory of the test's own in the system's temporary directory, deleted with all it
// holds when the test ends. Its name has a blank and an umlaut, as a user's directory may.
class TempDirectory
{
public:
    TempDirectory()
    {
        wchar_t base[MAX_PATH + 1] = {};
        const DWORD length = ::GetTempPathW(MAX_PATH + 1, base);
        std::wstring parent(base, length);
        if (!parent.empty() && parent.back() == L'\\')
            parent.pop_back();
        static unsigned counter = 0;
        for (;;) {
            m_path = parent + L"\\kelvane Prüfung " + std::to_wstring(::GetCurrentProcessId()) +
                     L"-" + std::to_wstring(++counter);
            if (::CreateDirectoryW(m_path.c_str(), nullptr))
                break;
            if (::GetLastError() != ERROR_ALREADY_EXISTS) {
                ADD_FAILURE() << "No temporary directory: error " << ::GetLastError();
                break;
            }
        }
        path = win32::narrow(m_path);
    }
    ~TempDirectory() { removeTree(m_path); }
    TempDirectory(const TempDirectory &) = delete;
    TempDirectory &operator=(const TempDirectory &) = delete;

    // A path below the directory, in UTF-8.
    std::string operator/(std::string_view relative) const
    {
        return path + "\\" + std::string(relative);
    }

    std::string path; // UTF-8

private:
    std::wstring m_path;
};

inline bool makeDirectory(const std::string &path)
{
    return ::CreateDirectoryW(win32::widen(path).c_str(), nullptr) != 0;
}

inline bool writeBytes(const std::string &path, std::string_view bytes)
{
    const HANDLE file = ::CreateFileW(win32::widen(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok =
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    ::CloseHandle(file);
    return ok;
}

// The whole file, or none when it cannot be read.
inline std::optional<std::string> readBytes(const std::string &path)
{
    const HANDLE file = ::CreateFileW(win32::widen(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    ::CloseHandle(file);
    return bytes;
}

} // namespace kelvane::testing

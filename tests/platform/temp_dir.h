#pragma once

// Files and directories for the platform tests of Linux and Windows alike, through the standard
// library. Paths are UTF-8, as the program's own are.

#include "app/platform.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kelvane::test {

namespace fs = std::filesystem;

inline fs::path fsPath(std::string_view utf8)
{
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

// A fresh directory of the test's own, removed with all it holds afterwards. Its name has a
// blank and an umlaut, as a user's directory may, and its path has every link resolved, so
// that it reads the same as the paths the platform code works out.
class TempDir
{
public:
    TempDir()
    {
        fs::path dir;
        std::random_device random;
        do
            dir = fs::temp_directory_path() / fsPath("kelvane Prüfung " + std::to_string(random()));
        while (!fs::create_directory(dir));
        const std::u8string text = fs::canonical(dir).u8string();
        m_path.assign(text.begin(), text.end());
    }
    ~TempDir()
    {
        std::error_code error;
        fs::remove_all(fsPath(m_path), error);
    }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::string &path() const { return m_path; }
    std::string operator/(std::string_view name) const
    {
        return m_path + static_cast<char>(fs::path::preferred_separator) + std::string(name);
    }

private:
    std::string m_path;
};

inline void writeBytes(const std::string &path, std::string_view bytes)
{
    std::ofstream out(fsPath(path), std::ios::binary | std::ios::trunc);
    if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        throw std::runtime_error("cannot write " + path);
}

// The whole file; none when it cannot be read.
inline std::optional<std::string> readBytes(const std::string &path)
{
    std::ifstream in(fsPath(path), std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void makeDirectory(const std::string &path)
{
    fs::create_directories(fsPath(path));
}

inline std::string messageOf(const Outcome &outcome)
{
    return outcome ? outcome->message : "(no failure)";
}

// The DOS path of a Unix path on a drive Z: that stands for "/".
inline std::string onDriveZ(std::string_view unixPath)
{
    std::string dos = "Z:";
    for (char c : unixPath)
        dos += c == '/' ? '\\' : c;
    return dos;
}

} // namespace kelvane::test

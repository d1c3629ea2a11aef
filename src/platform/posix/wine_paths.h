#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

// One of Wine's drive letters and the Unix directory it stands for.
struct WineDrive
{
    char letter = 'Z';           // upper case
    std::string target;          // absolute Unix directory as the drive's link names it
    std::string canonicalTarget; // the same with every link resolved; equals target when dangling
};

// The drive letters a Wine prefix offers and the conversions between DOS and Unix paths through
// them. The compilers and compile.bat run under Wine, so every path the program shows or writes
// must be one Wine resolves to the same file.
class WineDrives
{
public:
    // Reads the drives from <prefix>/dosdevices. Without a prefix, or when it has no drives, the
    // whole file system is drive Z:, as in a fresh Wine prefix.
    explicit WineDrives(std::optional<std::string> prefix);

    // The prefix Wine itself would use: $WINEPREFIX, else ~/.wine.
    static WineDrives fromEnvironment();

    // In letter order; never empty.
    const std::vector<WineDrive> &drives() const { return m_drives; }
    const WineDrive *drive(char letter) const;

    // "Z:\home\me" -> "/home/me". Empty for a path that names no drive of the prefix.
    std::optional<std::string> toUnix(std::string_view dosPath) const;
    // A path as a Linux user looks for it in a message: its Unix form where a drive covers it.
    std::string shown(std::string_view dosPath) const;
    // "/home/me" -> "Z:\home\me", through the drive that covers the most of the resolved path.
    // Empty when no drive covers it or a name holds a backslash, which no DOS path can express.
    std::optional<std::string> toDos(std::string_view unixPath) const;

    // The upper-case drive letter a DOS path begins with ("c:\x" -> 'C'); empty for anything
    // that does not begin with a letter and a colon.
    static std::optional<char> driveLetterOf(std::string_view dosPath);

    // What the drive list shows for a drive: "c: [drive_c]", "z: [/]".
    static std::string listText(const WineDrive &drive);

private:
    std::vector<WineDrive> m_drives;
};

} // namespace kelvane

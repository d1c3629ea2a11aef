#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane::dos {

// The separator that joins a path and a name: none when the path already ends with a
// backslash (a drive root such as "C:\"), else one backslash.
std::string_view separatorOf(std::string_view path);
std::string join(std::string_view path, std::string_view name);

// The drive letter of a path ("c:\x" gives 'C'); none when the path does not begin with one.
std::optional<char> driveOf(std::string_view path);
bool isDriveOnly(std::string_view path); // "C:" without anything after the colon
bool isRoot(std::string_view path);      // "C:\"

// Upper-case drive letter, single backslashes, no trailing backslash except at the root.
std::string normalize(std::string_view path);
// The directory above, or none at the root.
std::optional<std::string> parent(std::string_view path);
// The components below the root: "C:\a\b" gives {"a", "b"}.
std::vector<std::string> components(std::string_view path);
// The last component; empty at a root.
std::string lastComponent(std::string_view path);

// The text with its ASCII capitals lowered, as names compare without regard to case.
std::string lowered(std::string_view text);

// A file name pattern as the file lists use it: '*' and '?' wildcards, ASCII case ignored,
// several patterns separated by ';'.
bool matches(std::string_view pattern, std::string_view name);

// The same pattern taken apart once, for sifting many names through it.
class Pattern
{
public:
    explicit Pattern(std::string_view text);
    bool matches(std::string_view name) const;

private:
    struct Alternative
    {
        std::string text;
        // With a lone '*' and no '?': the lowered text before and after it.
        bool aroundStar = false;
        std::string head;
        std::string tail;
    };
    std::vector<Alternative> m_alternatives;
};
bool hasWildcard(std::string_view pattern);

// Orders names as the lists show them: ASCII case ignored, then by bytes.
bool lessNoCase(std::string_view a, std::string_view b);
bool equalNoCase(std::string_view a, std::string_view b);

} // namespace kelvane::dos

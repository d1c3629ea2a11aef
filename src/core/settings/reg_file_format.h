#pragma once

#include "settings/registry_tree.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

// The keys of a settings file, one tree per root, keyed by the root's handle
// (kRootBase + root index).
using RegRoots = std::map<RegKey, RegNode>;

struct RegFileError
{
    int line = 0; // 1-based; the first line of a value that spans several lines
    std::string message;
};

// What reading a settings file gave: all of its keys, or where reading stopped. A file is
// read as a whole or not at all, so on error `roots` is empty.
struct RegFileContent
{
    RegRoots roots;
    std::optional<RegFileError> error;
};

// Reads text in the registry export format:
//
//   REGEDIT4                                  (or "Windows Registry Editor Version 5.00")
//
//   [HKEY_CURRENT_USER\Software\Ostrabel]
//   "name"="text"                             \\ and \" are the only escapes
//   @="unnamed value"
//   "n"=dword:0000002a                        4 bytes, little endian
//   "b"=hex:1a,00,ff                          binary; a line ending in \ goes on
//   "m"=hex(7):6f,6e,65,00,00                 any type code N, as hex(N)
//   "gone"=-                                  the value is absent
//   [-HKEY_CURRENT_USER\Software\Old]         the key and all below it are absent
//   ; a comment
//
// The text is UTF-8, or UTF-16LE after its byte order mark (as regedit exports); a leading UTF-8
// byte order mark and CR LF line ends are accepted. In a version 5 file the hex data of the
// string types (1, 2, 7) are UTF-16LE and are read as UTF-8. An empty text is a file without
// keys. Keys deeper than kMaxKeyDepth and names longer than the registry allows are errors.
// Sections under any of the seven predefined roots are read; another root name is an error. A
// "text" value is exactly the bytes between the quotes, without a terminating zero.
RegFileContent parseRegFile(std::string_view text);

// Writes the keys as REGEDIT4 text with LF line ends: every key in tree order with a section
// of its own, the empty roots left out. A string value is written as "text" when its bytes
// are valid UTF-8 without control characters, otherwise as hex(1), so that every value reads
// back byte for byte. Expects only names for which isWritableRegName() holds. Neither the depth
// of the keys nor the text's size limits the writer; keeping to the limits is the caller's part.
std::string serializeRegFile(const RegRoots &roots);
// The largest settings file that is read; a save that would write more fails.
inline constexpr std::size_t kLargestSettingsFile = 64u << 20;
// The same, or none as soon as the text grows longer than `limit` bytes.
std::optional<std::string> serializeRegFile(const RegRoots &roots, std::size_t limit);

// Whether a key or value name can be written to the file and read back: valid UTF-8 without
// control characters. A key name also may not be empty or hold a backslash; that is for the
// caller to check.
bool isWritableRegName(std::string_view name);

bool isValidUtf8(std::string_view text);

} // namespace kelvane

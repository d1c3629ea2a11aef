#pragma once

#include <optional>
#include <string>
#include <string_view>

// Single-byte code pages of the Windows world. The core works in UTF-8; compile.bat must be
// written in the code page of the command interpreter that reads it, or a path with an umlaut
// names another directory when the script runs.

namespace kelvane::codepage {

inline constexpr unsigned kUnitedStates = 437;    // the OEM page of US English and the C locale
inline constexpr unsigned kWesternEurope = 850;   // the OEM page of German and most of Europe
inline constexpr unsigned kWindowsWestern = 1252; // the ANSI page of the same languages

// Whether the program knows the page's upper half. Any other page takes ASCII text only.
bool isKnown(unsigned codePage);

struct Encoded
{
    std::string bytes;
    // The first character the page cannot represent (U+FFFD for bytes that are no UTF-8);
    // `bytes` is of no use then.
    std::optional<char32_t> unrepresentable;
};

// UTF-8 text in the given code page, one byte per character.
Encoded fromUtf8(std::string_view utf8, unsigned codePage);

// How many characters UTF-8 text holds: its length in any single-byte page.
std::size_t characterCount(std::string_view utf8);
// Its length in UTF-16 code units, as the Windows registry counts a name's length.
std::size_t utf16Length(std::string_view utf8);

// One character as UTF-8, for messages.
std::string toUtf8(char32_t character);

// The OEM code page that Windows, and Wine, gives the locale a Unix locale name stands for
// ("de_DE.UTF-8" gives 850, "en_US.UTF-8" and "C" give 437, "pl_PL" gives 852).
unsigned oemCodePageOfLocale(std::string_view unixLocale);

} // namespace kelvane::codepage

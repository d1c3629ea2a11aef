#include "util/codepage.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace kelvane::codepage {

namespace {

using UpperHalf = std::array<char16_t, 128>; // the characters of bytes 0x80 to 0xFF; 0 = unused

// clang-format off
constexpr UpperHalf kCp437 = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,  // 80
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,  // 88
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,  // 90
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,  // 98
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,  // A0
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,  // A8
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,  // B0
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,  // B8
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,  // C0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,  // C8
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,  // D0
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,  // D8
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,  // E0
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,  // E8
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,  // F0
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,  // F8
};

constexpr UpperHalf kCp850 = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,  // 80
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,  // 88
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,  // 90
    0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192,  // 98
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,  // A0
    0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,  // A8
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0,  // B0
    0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510,  // B8
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3,  // C0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4,  // C8
    0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE,  // D0
    0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,  // D8
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE,  // E0
    0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4,  // E8
    0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8,  // F0
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,  // F8
};

constexpr UpperHalf kCp1252 = {
    0x20AC, 0x0000, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x0000, 0x017D, 0x0000,  // 88
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x0000, 0x017E, 0x0178,  // 98
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7,  // A0
    0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,  // A8
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF,  // B8
    0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7,  // C0
    0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF,  // C8
    0x00D0, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7,  // D0
    0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF,  // D8
    0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7,  // E0
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF,  // E8
    0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7,  // F0
    0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF,  // F8
};
// clang-format on

const UpperHalf *upperHalfOf(unsigned codePage)
{
    switch (codePage) {
    case kUnitedStates:
        return &kCp437;
    case kWesternEurope:
        return &kCp850;
    case kWindowsWestern:
        return &kCp1252;
    default:
        return nullptr;
    }
}

constexpr char32_t kReplacement = 0xFFFD;

// The next character of UTF-8 text; U+FFFD for a sequence that is no valid UTF-8 (overlong,
// a surrogate, beyond U+10FFFF, cut short), of which one byte is consumed.
char32_t next(std::string_view text, std::size_t &at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    std::size_t length = 0;
    char32_t value = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, least = 0x10000;
    } else {
        ++at;
        return kReplacement;
    }
    if (at + length > text.size()) {
        ++at;
        return kReplacement;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            ++at;
            return kReplacement;
        }
        value = (value << 6) | (byte(at + i) & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++at;
        return kReplacement;
    }
    at += length;
    return value;
}

struct LocaleName
{
    std::string_view language;
    std::string_view territory;
};

// "de_DE.UTF-8@euro" gives "de" and "DE"; "C.UTF-8" gives "C".
LocaleName split(std::string_view name)
{
    name = name.substr(0, name.find_first_of(".@"));
    const auto underscore = name.find('_');
    if (underscore == std::string_view::npos)
        return {name, {}};
    return {name.substr(0, underscore), name.substr(underscore + 1)};
}

struct LanguagePage
{
    std::string_view language;
    unsigned codePage;
};

// The OEM page Windows assigns to each language; English varies with the territory, below.
constexpr LanguagePage kLanguagePages[] = {
    {"af", 850}, {"ar", 720}, {"az", 857}, {"be", 866}, {"bg", 866}, {"bs", 852},  {"ca", 850},
    {"cs", 852}, {"cy", 850}, {"da", 850}, {"de", 850}, {"el", 737}, {"es", 850},  {"et", 775},
    {"eu", 850}, {"fa", 720}, {"fi", 850}, {"fo", 850}, {"fr", 850}, {"fy", 850},  {"ga", 850},
    {"gl", 850}, {"he", 862}, {"hr", 852}, {"hu", 852}, {"id", 850}, {"is", 850},  {"it", 850},
    {"ja", 932}, {"kk", 866}, {"ko", 949}, {"ky", 866}, {"lb", 850}, {"lt", 775},  {"lv", 775},
    {"mk", 866}, {"ms", 850}, {"nb", 850}, {"nl", 850}, {"nn", 850}, {"no", 850},  {"pl", 852},
    {"pt", 850}, {"rm", 850}, {"ro", 852}, {"ru", 866}, {"sk", 852}, {"sl", 852},  {"sq", 852},
    {"sv", 850}, {"th", 874}, {"tr", 857}, {"tt", 866}, {"uk", 866}, {"vi", 1258}, {"zh", 936},
};

// English territories whose OEM page is 850 rather than the 437 of US English.
constexpr std::string_view kEnglish850[] = {"AU", "BZ", "CA", "GB", "IE", "JM", "NZ", "TT"};

// Chinese territories that write traditional characters.
constexpr std::string_view kChineseTraditional[] = {"HK", "MO", "TW"};

template <std::size_t N> bool contains(const std::string_view (&list)[N], std::string_view value)
{
    return std::find(std::begin(list), std::end(list), value) != std::end(list);
}

} // namespace

bool isKnown(unsigned codePage)
{
    return upperHalfOf(codePage) != nullptr;
}

Encoded fromUtf8(std::string_view utf8, unsigned codePage)
{
    const UpperHalf *upper = upperHalfOf(codePage);
    Encoded out;
    out.bytes.reserve(utf8.size());
    std::size_t at = 0;
    while (at < utf8.size()) {
        const char32_t c = next(utf8, at);
        if (c < 0x80) {
            out.bytes += static_cast<char>(c);
            continue;
        }
        if (!upper || c == kReplacement || c > 0xFFFF) {
            out.unrepresentable = c;
            return out;
        }
        const auto found = std::find(upper->begin(), upper->end(), static_cast<char16_t>(c));
        if (found == upper->end()) {
            out.unrepresentable = c;
            return out;
        }
        out.bytes += static_cast<char>(0x80 + (found - upper->begin()));
    }
    return out;
}

std::size_t characterCount(std::string_view utf8)
{
    std::size_t count = 0;
    for (char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    return count;
}

std::size_t utf16Length(std::string_view utf8)
{
    std::size_t length = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80)
            length += byte >= 0xF0 ? 2 : 1;
    }
    return length;
}

std::string toUtf8(char32_t c)
{
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

unsigned oemCodePageOfLocale(std::string_view unixLocale)
{
    const LocaleName name = split(unixLocale);
    if (name.language == "en")
        return contains(kEnglish850, name.territory) ? kWesternEurope : kUnitedStates;
    if (name.language == "zh" && contains(kChineseTraditional, name.territory))
        return 950;
    for (const auto &entry : kLanguagePages)
        if (entry.language == name.language)
            return entry.codePage;
    // "C", "POSIX" and anything unknown: Wine takes US English then.
    return kUnitedStates;
}

} // namespace kelvane::codepage

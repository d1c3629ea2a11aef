#include "util/dos_path.h"

#include <algorithm>

namespace kelvane::dos {

namespace {

char upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

char lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Where the only wildcard of a pattern, a '*', stands; npos when it has another kind or several.
std::size_t loneStar(std::string_view pattern)
{
    const auto star = pattern.find('*');
    if (star == std::string_view::npos || pattern.find('*', star + 1) != std::string_view::npos ||
        pattern.find('?') != std::string_view::npos)
        return std::string_view::npos;
    return star;
}

bool matchOne(std::string_view pattern, std::string_view name)
{
    // Iterative wildcard match with one point of return for the last '*'.
    std::size_t p = 0, n = 0, star = std::string_view::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || lower(pattern[p]) == lower(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace

std::string_view separatorOf(std::string_view path)
{
    return (!path.empty() && path.back() == '\\') ? std::string_view() : std::string_view("\\");
}

std::string join(std::string_view path, std::string_view name)
{
    std::string joined(path);
    joined += separatorOf(path);
    joined += name;
    return joined;
}

std::optional<char> driveOf(std::string_view path)
{
    if (path.size() >= 2 && isLetter(path[0]) && path[1] == ':')
        return upper(path[0]);
    return std::nullopt;
}

bool isDriveOnly(std::string_view path)
{
    return path.size() == 2 && driveOf(path);
}

bool isRoot(std::string_view path)
{
    return path.size() == 3 && driveOf(path) && path[2] == '\\';
}

std::string normalize(std::string_view path)
{
    std::string out;
    out.reserve(path.size());
    for (char c : path) {
        if (c == '/')
            c = '\\';
        if (c == '\\' && !out.empty() && out.back() == '\\')
            continue;
        out += c;
    }
    if (driveOf(out)) {
        out[0] = upper(out[0]);
        if (out.size() == 2)
            out += '\\';
    }
    while (out.size() > 3 && out.back() == '\\')
        out.pop_back();
    return out;
}

std::optional<std::string> parent(std::string_view path)
{
    const std::string norm = normalize(path);
    if (isRoot(norm) || norm.empty())
        return std::nullopt;
    const auto cut = norm.rfind('\\');
    if (cut == std::string::npos)
        return std::nullopt;
    if (cut == 2)
        return norm.substr(0, 3);
    return norm.substr(0, cut);
}

std::vector<std::string> components(std::string_view path)
{
    std::vector<std::string> parts;
    std::string_view rest = path;
    if (driveOf(rest))
        rest.remove_prefix(std::min<std::size_t>(rest.size(), 3));
    while (!rest.empty()) {
        const auto cut = rest.find('\\');
        const auto part = rest.substr(0, cut);
        if (!part.empty())
            parts.emplace_back(part);
        if (cut == std::string_view::npos)
            break;
        rest.remove_prefix(cut + 1);
    }
    return parts;
}

std::string lastComponent(std::string_view path)
{
    if (!path.empty() && path.back() == '\\')
        return {};
    const auto cut = path.rfind('\\');
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string lowered(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        c = lower(c);
    return out;
}

bool matches(std::string_view pattern, std::string_view name)
{
    return Pattern(pattern).matches(name);
}

Pattern::Pattern(std::string_view text)
{
    while (true) {
        const auto cut = text.find(';');
        const std::string_view one = text.substr(0, cut);
        Alternative alternative;
        alternative.text = std::string(one);
        if (const auto star = loneStar(one); star != std::string_view::npos) {
            // A pattern with one '*' and no '?' ("*.map", the usual one) is a beginning and an
            // end; a folder of a million names is sifted through it many times faster than by
            // searching.
            alternative.aroundStar = true;
            alternative.head = lowered(one.substr(0, star));
            alternative.tail = lowered(one.substr(star + 1));
        }
        m_alternatives.push_back(std::move(alternative));
        if (cut == std::string_view::npos)
            break;
        text.remove_prefix(cut + 1);
    }
}

bool Pattern::matches(std::string_view name) const
{
    for (const Alternative &one : m_alternatives) {
        if (!one.aroundStar) {
            if (matchOne(one.text, name))
                return true;
            continue;
        }
        const std::size_t head = one.head.size();
        const std::size_t tail = one.tail.size();
        if (name.size() < head + tail)
            continue;
        const char *end = name.data() + name.size() - tail;
        bool same = true;
        for (std::size_t i = 0; same && i < head; ++i)
            same = lower(name[i]) == one.head[i];
        for (std::size_t i = 0; same && i < tail; ++i)
            same = lower(end[i]) == one.tail[i];
        if (same)
            return true;
    }
    return false;
}

bool hasWildcard(std::string_view pattern)
{
    return pattern.find_first_of("*?") != std::string_view::npos;
}

bool lessNoCase(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char x = lower(a[i]), y = lower(b[i]);
        if (x != y)
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

bool equalNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lower(x) == lower(y); });
}

} // namespace kelvane::dos

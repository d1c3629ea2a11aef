#include "settings/reg_file_format.h"

#include "util/codepage.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstdint>

namespace kelvane {

namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kHeaderVersion5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16ByteOrderMark = "\xFF\xFE";

// Lines of hex data are broken after the comma that passes this column.
constexpr std::size_t kHexLineWidth = 76;

constexpr char kHexDigits[] = "0123456789abcdef";

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isControl(unsigned char c)
{
    return c < 0x20 || c == 0x7F;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && equalNoCase(text.substr(0, prefix.size()), prefix);
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A run of 1 to `maxDigits` hex digits and nothing else.
std::optional<std::uint32_t> hexNumber(std::string_view digits, std::size_t maxDigits)
{
    if (digits.empty() || digits.size() > maxDigits)
        return std::nullopt;
    std::uint32_t number = 0;
    for (char c : digits) {
        const int digit = hexValue(c);
        if (digit < 0)
            return std::nullopt;
        number = number << 4 | static_cast<std::uint32_t>(digit);
    }
    return number;
}

bool writableAsText(std::string_view data)
{
    return std::none_of(data.begin(), data.end(),
                        [](char c) { return isControl(static_cast<unsigned char>(c)); }) &&
           isValidUtf8(data);
}

// UTF-16LE as UTF-8; on failure `badUnit` tells the code unit at which it failed.
std::optional<std::string> utf16ToUtf8(std::string_view bytes, std::size_t *badUnit = nullptr)
{
    const auto unit = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[2 * i])) |
               static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[2 * i + 1])) << 8;
    };
    const std::size_t units = bytes.size() / 2;
    std::string out;
    out.reserve(units);
    for (std::size_t i = 0; i < units; ++i) {
        std::uint32_t code = unit(i);
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 &&
            unit(i + 1) <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            if (badUnit)
                *badUnit = i;
            return std::nullopt;
        }
        out += codepage::toUtf8(static_cast<char32_t>(code));
    }
    if (bytes.size() % 2 != 0) {
        if (badUnit)
            *badUnit = units;
        return std::nullopt;
    }
    return out;
}

struct ParseFailure
{
    int line;
    std::string message;
};

class Parser
{
public:
    explicit Parser(std::string_view text)
        : m_rest(text)
    {}

    RegRoots run()
    {
        if (m_rest.substr(0, kByteOrderMark.size()) == kByteOrderMark)
            m_rest.remove_prefix(kByteOrderMark.size());
        if (m_rest.empty())
            return {};

        std::string_view line;
        nextLine(line);
        const std::string_view header = trimmed(line);
        if (header != kHeader && header != kHeaderVersion5)
            fail("the first line is not REGEDIT4");
        m_version5 = header == kHeaderVersion5;

        while (nextLine(line)) {
            const std::string_view content = trimmed(line);
            if (content.empty() || content.front() == ';')
                continue;
            if (content.front() == '[')
                section(content);
            else if (content.front() == '"' || content.front() == '@')
                value(content);
            else
                fail("this line is neither a key, a value nor a comment");
        }
        return std::move(m_roots);
    }

private:
    [[noreturn]] void fail(std::string message) const { failAt(m_line, std::move(message)); }
    [[noreturn]] static void failAt(int line, std::string message)
    {
        throw ParseFailure{line, std::move(message)};
    }

    // The next physical line without its line end.
    bool nextLine(std::string_view &line)
    {
        if (m_rest.empty())
            return false;
        const auto end = m_rest.find('\n');
        line = m_rest.substr(0, end);
        m_rest = end == std::string_view::npos ? std::string_view() : m_rest.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ++m_line;
        if (!isValidUtf8(line))
            fail("the line is not UTF-8 text");
        return true;
    }

    void section(std::string_view content)
    {
        if (content.size() < 2 || content.back() != ']')
            fail("a key line must end with ]");
        std::string_view path = content.substr(1, content.size() - 2);
        const bool removing = !path.empty() && path.front() == '-';
        if (removing)
            path.remove_prefix(1);

        const auto cut = path.find('\\');
        const std::string_view rootName = path.substr(0, cut);
        const std::string_view keyPath =
            cut == std::string_view::npos ? std::string_view() : path.substr(cut + 1);
        const auto root =
            std::find_if(kRootNames.begin(), kRootNames.end(),
                         [&](std::string_view n) { return equalNoCase(n, rootName); });
        if (root == kRootNames.end())
            fail("unknown root key \"" + std::string(rootName) + '"');
        if (cut != std::string_view::npos)
            checkKeyPath(keyPath);

        RegNode &rootNode = m_roots[kRootBase + static_cast<RegKey>(root - kRootNames.begin())];
        if (removing) {
            if (cut == std::string_view::npos)
                rootNode.clear();
            else if (RegNode *parent = rootNode.find(parentOf(keyPath)))
                parent->removeChild(lastName(keyPath));
            m_key = nullptr;
        } else {
            m_key = &rootNode.findOrCreate(keyPath);
        }
    }

    void checkKeyPath(std::string_view path) const
    {
        for (std::size_t depth = 1;; ++depth) {
            const auto cut = path.find('\\');
            const std::string_view name = path.substr(0, cut);
            if (name.empty())
                fail("a key name is empty");
            if (!isWritableRegName(name))
                fail("a key name holds a control character");
            if (codepage::utf16Length(name) > kMaxKeyNameLength)
                fail("a key name is longer than 255 characters");
            if (depth > kMaxKeyDepth)
                fail("the key lies deeper than 512 levels");
            if (cut == std::string_view::npos)
                return;
            path.remove_prefix(cut + 1);
        }
    }

    static std::string_view parentOf(std::string_view path)
    {
        const auto cut = path.rfind('\\');
        return cut == std::string_view::npos ? std::string_view() : path.substr(0, cut);
    }
    static std::string_view lastName(std::string_view path)
    {
        const auto cut = path.rfind('\\');
        return cut == std::string_view::npos ? path : path.substr(cut + 1);
    }

    void value(std::string_view content)
    {
        if (!m_key)
            fail("a value stands outside a key");
        const int firstLine = m_line;

        std::string name;
        std::string_view rest;
        if (content.front() == '@') {
            rest = content.substr(1);
        } else {
            rest = content.substr(quoted(content, name));
            if (!isWritableRegName(name))
                fail("a value name holds a control character");
            if (codepage::utf16Length(name) > kMaxValueNameLength)
                fail("a value name is longer than 16383 characters");
        }
        rest = trimmed(rest);
        if (rest.empty() || rest.front() != '=')
            fail("= is missing after the value name");
        rest = trimmed(rest.substr(1));

        if (rest == "-") {
            m_key->removeValue(name);
        } else if (!rest.empty() && rest.front() == '"') {
            std::string text;
            const auto end = quoted(rest, text);
            if (!trimmed(rest.substr(end)).empty())
                fail("text follows the closing quote");
            m_key->setValue(name, RegType::String, text);
        } else if (startsWithNoCase(rest, "dword:")) {
            const auto number = hexNumber(rest.substr(6), 8);
            if (!number)
                fail("dword: needs 1 to 8 hex digits");
            const std::string data{
                static_cast<char>(*number & 0xFF), static_cast<char>(*number >> 8 & 0xFF),
                static_cast<char>(*number >> 16 & 0xFF), static_cast<char>(*number >> 24 & 0xFF)};
            m_key->setValue(name, RegType::Dword, data);
        } else if (startsWithNoCase(rest, "hex")) {
            std::uint32_t type = RegType::Binary;
            rest.remove_prefix(3);
            if (!rest.empty() && rest.front() == '(') {
                const auto close = rest.find(')');
                const auto code = close == std::string_view::npos
                                      ? std::nullopt
                                      : hexNumber(rest.substr(1, close - 1), 8);
                if (!code)
                    fail("hex( needs a type number in hex digits and )");
                type = *code;
                rest.remove_prefix(close + 1);
            }
            if (rest.empty() || rest.front() != ':')
                fail(": is missing after hex");
            std::string bytes = hexData(rest.substr(1), firstLine);
            // Version 5 keeps the text of the string types in UTF-16.
            if (m_version5 && (type == RegType::String || type == RegType::ExpandString ||
                               type == RegType::MultiString)) {
                auto text = utf16ToUtf8(bytes);
                if (!text)
                    failAt(firstLine, "the hex data of a text are not UTF-16");
                bytes = std::move(*text);
            }
            m_key->setValue(name, type, bytes);
        } else {
            fail("unknown kind of value data");
        }
    }

    // Reads a quoted text starting at text[0] into `out`; returns the index after its end.
    std::size_t quoted(std::string_view text, std::string &out) const
    {
        for (std::size_t i = 1; i < text.size(); ++i) {
            const char c = text[i];
            if (c == '"')
                return i + 1;
            if (c == '\\') {
                if (i + 1 == text.size() || (text[i + 1] != '\\' && text[i + 1] != '"'))
                    fail("only \\\\ and \\\" may follow a backslash in quotes");
                ++i;
            }
            out += text[i];
        }
        fail("the closing quote is missing");
    }

    // Comma-separated bytes; a trailing backslash continues the list on the next line.
    std::string hexData(std::string_view first, int firstLine)
    {
        std::string joined;
        std::string_view piece = trimmed(first);
        while (!piece.empty() && piece.back() == '\\') {
            joined += piece.substr(0, piece.size() - 1);
            std::string_view line;
            if (!nextLine(line))
                failAt(firstLine, "the hex data go on past the end of the file");
            piece = trimmed(line);
        }
        joined += piece;

        std::string bytes;
        std::string_view list = trimmed(joined);
        while (!list.empty()) {
            const auto comma = list.find(',');
            const auto byte = hexNumber(trimmed(list.substr(0, comma)), 2);
            if (!byte)
                failAt(firstLine, "hex data must be bytes of one or two hex digits between commas");
            bytes += static_cast<char>(*byte);
            if (comma == std::string_view::npos)
                break;
            list.remove_prefix(comma + 1);
            if (list.empty())
                failAt(firstLine, "the hex data end with a comma");
        }
        return bytes;
    }

    std::string_view m_rest;
    int m_line = 0;
    bool m_version5 = false;
    RegRoots m_roots;
    RegNode *m_key = nullptr;
};

void appendQuoted(std::string &out, std::string_view text)
{
    out += '"';
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    out += '"';
}

void appendHex(std::string &out, std::size_t lineStart, std::string_view data)
{
    for (std::size_t i = 0; i < data.size(); ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        out += kHexDigits[byte >> 4];
        out += kHexDigits[byte & 0xF];
        if (i + 1 == data.size())
            break;
        out += ',';
        if (out.size() - lineStart > kHexLineWidth) {
            out += "\\\n  ";
            lineStart = out.size() - 2;
        }
    }
}

void appendValue(std::string &out, const StoredValue &value)
{
    const std::size_t lineStart = out.size();
    if (value.name.empty())
        out += '@';
    else
        appendQuoted(out, value.name);
    out += '=';

    if (value.type == RegType::String && writableAsText(value.data)) {
        appendQuoted(out, value.data);
    } else if (value.type == RegType::Dword && value.data.size() == 4) {
        out += "dword:";
        for (int i = 3; i >= 0; --i) {
            const auto byte = static_cast<unsigned char>(value.data[static_cast<std::size_t>(i)]);
            out += kHexDigits[byte >> 4];
            out += kHexDigits[byte & 0xF];
        }
    } else {
        if (value.type == RegType::Binary) {
            out += "hex:";
        } else {
            std::string code;
            for (std::uint32_t t = value.type; t != 0 || code.empty(); t >>= 4)
                code.insert(code.begin(), kHexDigits[t & 0xF]);
            out += "hex(" + code + "):";
        }
        appendHex(out, lineStart, value.data);
    }
    out += '\n';
}

// Writes a key and all below it, depth first, each with a section of its own. A stack instead of
// recursion, so that no depth of keys exhausts the call stack.
// Stops early, returning false, once the text is longer than `limit`.
bool appendKeys(std::string &out, const RegNode &top, std::string path, std::size_t limit)
{
    struct Level
    {
        const RegNode *node;
        std::size_t nextChild;
        std::size_t pathLength;
    };
    std::vector<Level> stack;
    const auto enter = [&](const RegNode &node) {
        out += '[';
        out += path;
        out += "]\n";
        for (const StoredValue &value : node.values()) {
            assert(isWritableRegName(value.name));
            appendValue(out, value);
        }
        out += '\n';
        stack.push_back({&node, 0, path.size()});
    };
    enter(top);
    while (!stack.empty()) {
        if (out.size() > limit)
            return false;
        Level &level = stack.back();
        if (level.nextChild == level.node->children().size()) {
            stack.pop_back();
            continue;
        }
        const RegNode &child = *level.node->children()[level.nextChild++];
        assert(!child.name().empty() && child.name().find('\\') == std::string::npos &&
               isWritableRegName(child.name()));
        path.resize(level.pathLength);
        path += '\\';
        path += child.name();
        enter(child);
    }
    return out.size() <= limit;
}

} // namespace

bool isValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length;
        std::uint32_t code;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (text.size() - i < length)
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = code << 6 | (next & 0x3F);
        }
        // Overlong forms, surrogates and code points past U+10FFFF.
        if ((length == 3 && code < 0x800) || (length == 4 && code < 0x10000) ||
            (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            return false;
        i += length;
    }
    return true;
}

bool isWritableRegName(std::string_view name)
{
    return writableAsText(name);
}

RegFileContent parseRegFile(std::string_view text)
{
    // regedit exports in UTF-16LE with a byte order mark.
    std::string decoded;
    if (text.substr(0, kUtf16ByteOrderMark.size()) == kUtf16ByteOrderMark) {
        const std::string_view units = text.substr(kUtf16ByteOrderMark.size());
        std::size_t bad = 0;
        auto utf8 = utf16ToUtf8(units, &bad);
        if (!utf8) {
            const auto newlines = utf16ToUtf8(units.substr(0, 2 * bad)).value_or("");
            return {{},
                    RegFileError{
                        1 + static_cast<int>(std::count(newlines.begin(), newlines.end(), '\n')),
                        "the text is not UTF-16"}};
        }
        decoded = std::move(*utf8);
        text = decoded;
    }
    Parser parser(text);
    try {
        return {parser.run(), std::nullopt};
    } catch (const ParseFailure &failure) {
        return {{}, RegFileError{failure.line, failure.message}};
    }
}

std::optional<std::string> serializeRegFile(const RegRoots &roots, std::size_t limit)
{
    std::string out(kHeader);
    out += "\n\n";
    for (const auto &[handle, root] : roots) {
        const std::string rootName(kelvane::rootName(handle));
        if (rootName.empty() || (root.values().empty() && root.children().empty()))
            continue;
        if (!root.values().empty()) {
            if (!appendKeys(out, root, rootName, limit))
                return std::nullopt;
            continue;
        }
        for (const auto &child : root.children())
            if (!appendKeys(out, *child, rootName + '\\' + child->name(), limit))
                return std::nullopt;
    }
    return out;
}

std::string serializeRegFile(const RegRoots &roots)
{
    return *serializeRegFile(roots, std::string().max_size());
}

} // namespace kelvane

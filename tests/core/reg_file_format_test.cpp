#include "settings/reg_file_format.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>

using namespace kelvane;
using namespace std::string_literals;

namespace {

constexpr std::string_view kCsg = "Software\\Ostrabel\\Kelvane\\Csg";

const StoredValue *valueAt(RegRoots &roots, std::string_view keyPath, std::string_view name,
                           RegKey root = kCurrentUserRoot)
{
    RegNode *key = roots[root].find(keyPath);
    return key ? key->value(name) : nullptr;
}

RegRoots parsed(std::string_view text)
{
    RegFileContent content = parseRegFile(text);
    EXPECT_FALSE(content.error) << "line " << content.error->line << ": " << content.error->message;
    return std::move(content.roots);
}

} // namespace

TEST(RegFileFormat, WritesEveryKeyInTreeOrderWithASectionOfItsOwn)
{
    RegRoots roots;
    RegNode &csg = roots[kCurrentUserRoot].findOrCreate(kCsg);
    csg.setValue("chart", RegType::String, "1");
    csg.setValue("", RegType::String, "unnamed");
    csg.setValue("quote", RegType::String, "say \"hi\" \\ back");
    csg.setValue("count", RegType::Dword, "\xff\xff\xff\xff"s);
    csg.setValue("bytes", RegType::Binary, "\x1a\x00\xff"s);
    csg.setValue("path", RegType::ExpandString, "%\0"s);
    csg.setValue("zero", RegType::String, "a\0"s);
    csg.setValue("empty", RegType::String, "");
    csg.setValue("big", 0xb, "\x01\0\0\0\0\0\0\0"s);
    roots[kCurrentUserRoot].findOrCreate("Software\\Ostrabel\\Kelvane\\Bsp");

    EXPECT_EQ(serializeRegFile(roots), "REGEDIT4\n"
                                       "\n"
                                       "[HKEY_CURRENT_USER\\Software]\n"
                                       "\n"
                                       "[HKEY_CURRENT_USER\\Software\\Ostrabel]\n"
                                       "\n"
                                       "[HKEY_CURRENT_USER\\Software\\Ostrabel\\Kelvane]\n"
                                       "\n"
                                       "[HKEY_CURRENT_USER\\Software\\Ostrabel\\Kelvane\\Csg]\n"
                                       "\"chart\"=\"1\"\n"
                                       "@=\"unnamed\"\n"
                                       "\"quote\"=\"say \\\"hi\\\" \\\\ back\"\n"
                                       "\"count\"=dword:ffffffff\n"
                                       "\"bytes\"=hex:1a,00,ff\n"
                                       "\"path\"=hex(2):25,00\n"
                                       "\"zero\"=hex(1):61,00\n"
                                       "\"empty\"=\"\"\n"
                                       "\"big\"=hex(b):01,00,00,00,00,00,00,00\n"
                                       "\n"
                                       "[HKEY_CURRENT_USER\\Software\\Ostrabel\\Kelvane\\Bsp]\n"
                                       "\n");
}

TEST(RegFileFormat, ReadsBackEveryValueByteForByte)
{
    const std::string longData(300, '\x7f');
    const struct
    {
        const char *name;
        std::uint32_t type;
        std::string data;
    } values[] = {
        {"text", RegType::String, "abc"},
        {"empty", RegType::String, ""},
        {"umlauts", RegType::String, "Größe – Maße"},
        {"inner zero", RegType::String, "ab\0cd"s},
        {"trailing zero", RegType::String, "abc\0"s},
        {"line ends", RegType::String, "a\r\nb\tc"},
        {"latin1", RegType::String, "Gr\xf6\xdf"},
        {"delete char", RegType::String, "\x7f"},
        {"dword", RegType::Dword, "\x01\x02\x03\x04"},
        {"short dword", RegType::Dword, "\x01\x02"},
        {"binary", RegType::Binary, "\x1a\x00\xff"s},
        {"empty binary", RegType::Binary, ""},
        {"expandable", RegType::ExpandString, "%PATH%\0"s},
        {"multi", RegType::MultiString, "one\0two\0\0"s},
        {"none", RegType::None, "\x05"},
        {"long", RegType::Binary, longData},
        {"back\\slash \"quoted\"", RegType::String, "\\\\server\\\"share\""},
    };
    RegRoots roots;
    RegNode &csg = roots[kCurrentUserRoot].findOrCreate(kCsg);
    for (const auto &v : values)
        csg.setValue(v.name, v.type, v.data);

    const std::string text = serializeRegFile(roots);
    RegRoots back = parsed(text);
    for (const auto &v : values) {
        const StoredValue *read = valueAt(back, kCsg, v.name);
        ASSERT_TRUE(read) << v.name;
        EXPECT_EQ(read->type, v.type) << v.name;
        EXPECT_EQ(read->data, v.data) << v.name;
    }
    EXPECT_EQ(serializeRegFile(back), text);
}

TEST(RegFileFormat, WritesStringsThatAreNoPlainTextAsHex1)
{
    RegRoots roots;
    RegNode &csg = roots[kCurrentUserRoot].findOrCreate(kCsg);
    csg.setValue("nul", RegType::String, "a\0"s);
    csg.setValue("newline", RegType::String, "a\nb");
    csg.setValue("latin1", RegType::String, "\xe4");
    csg.setValue("utf8", RegType::String, "\xc3\xa4");

    const std::string text = serializeRegFile(roots);
    EXPECT_NE(text.find("\"nul\"=hex(1):61,00\n"), std::string::npos);
    EXPECT_NE(text.find("\"newline\"=hex(1):61,0a,62\n"), std::string::npos);
    EXPECT_NE(text.find("\"latin1\"=hex(1):e4\n"), std::string::npos);
    EXPECT_NE(text.find("\"utf8\"=\"\xc3\xa4\"\n"), std::string::npos);
}

TEST(RegFileFormat, BreaksLongHexDataIntoContinuedLines)
{
    RegRoots roots;
    roots[kCurrentUserRoot].findOrCreate(kCsg).setValue("long", RegType::Binary,
                                                        std::string(100, 'A'));
    const std::string text = serializeRegFile(roots);
    std::size_t lines = 0;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string_view line(text.data() + start, end - start);
        EXPECT_LE(line.size(), 80u) << line;
        if (line.starts_with("  41"))
            ++lines;
    }
    EXPECT_GE(lines, 3u);
}

TEST(RegFileFormat, AcceptsVersion5HeaderByteOrderMarkAndCrLf)
{
    RegRoots roots = parsed("\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
                            "\r\n"
                            "[HKEY_CURRENT_USER\\Software\\Ostrabel\\Kelvane\\Csg]\r\n"
                            "\"chart\"=\"1\"\r\n"
                            "\"bytes\"=hex:01,\\\r\n"
                            "  02\r\n");
    ASSERT_TRUE(valueAt(roots, kCsg, "chart"));
    EXPECT_EQ(valueAt(roots, kCsg, "chart")->data, "1");
    ASSERT_TRUE(valueAt(roots, kCsg, "bytes"));
    EXPECT_EQ(valueAt(roots, kCsg, "bytes")->data, "\x01\x02");
}

TEST(RegFileFormat, ReadsCommentsBlanksAndTheUnnamedValue)
{
    RegRoots roots = parsed("REGEDIT4\n"
                            "; written by hand\n"
                            "[HKEY_CURRENT_USER\\Software\\Ostrabel\\Kelvane\\Csg]\n"
                            "  ; indented comment\n"
                            "@=\"default\"\n"
                            "\"spaced\" = dword:2A\n"
                            "\"@\"=\"at\"\n");
    EXPECT_EQ(valueAt(roots, kCsg, "")->data, "default");
    EXPECT_EQ(valueAt(roots, kCsg, "spaced")->data, "\x2a\0\0\0"s);
    EXPECT_EQ(valueAt(roots, kCsg, "@")->data, "at");
}

TEST(RegFileFormat, MergesKeysAndValuesWithoutRegardToCase)
{
    RegRoots roots = parsed("REGEDIT4\n\n"
                            "[HKEY_CURRENT_USER\\Software\\Ostrabel]\n"
                            "\"Value\"=\"first\"\n"
                            "[hkey_current_user\\SOFTWARE\\ostrabel]\n"
                            "\"VALUE\"=\"second\"\n");
    RegNode &software = *roots[kCurrentUserRoot].find("Software");
    ASSERT_EQ(software.children.size(), 1u);
    EXPECT_EQ(software.children[0]->name, "Ostrabel");
    ASSERT_EQ(software.children[0]->values.size(), 1u);
    EXPECT_EQ(software.children[0]->values[0].name, "Value");
    EXPECT_EQ(software.children[0]->values[0].data, "second");
}

TEST(RegFileFormat, MinusRemovesValuesAndKeys)
{
    RegRoots roots = parsed("REGEDIT4\n\n"
                            "[HKEY_CURRENT_USER\\Software\\Ostrabel\\Kelvane\\Csg]\n"
                            "\"gone\"=\"1\"\n"
                            "\"kept\"=\"1\"\n"
                            "\"gone\"=-\n"
                            "[HKEY_CURRENT_USER\\Software\\Old\\Deep]\n"
                            "\"x\"=\"1\"\n"
                            "[-HKEY_CURRENT_USER\\Software\\Old]\n");
    EXPECT_FALSE(valueAt(roots, kCsg, "gone"));
    EXPECT_TRUE(valueAt(roots, kCsg, "kept"));
    EXPECT_FALSE(roots[kCurrentUserRoot].find("Software\\Old"));
}

TEST(RegFileFormat, KeepsSectionsOfOtherRoots)
{
    const std::string text = "REGEDIT4\n\n"
                             "[HKEY_LOCAL_MACHINE\\Software\\Vendor]\n"
                             "\"x\"=\"1\"\n"
                             "\n"
                             "[HKEY_CURRENT_USER\\Software]\n"
                             "\n";
    RegRoots roots = parsed(text);
    EXPECT_TRUE(valueAt(roots, "Software\\Vendor", "x", kRootBase + 2));
    const std::string written = serializeRegFile(roots);
    EXPECT_LT(written.find("[HKEY_CURRENT_USER\\Software]"),
              written.find("[HKEY_LOCAL_MACHINE\\Software\\Vendor]"));
    EXPECT_NE(written.find("[HKEY_LOCAL_MACHINE\\Software\\Vendor]\n\"x\"=\"1\"\n"),
              std::string::npos);
}

TEST(RegFileFormat, ReadsAnEmptyTextAsAFileWithoutKeys)
{
    EXPECT_TRUE(parsed("").empty());
    EXPECT_TRUE(parsed("\xEF\xBB\xBF").empty());
    EXPECT_EQ(serializeRegFile({}), "REGEDIT4\n\n");
}

TEST(RegFileFormat, TellsWhichNamesCanBeWritten)
{
    EXPECT_TRUE(isWritableRegName(""));
    EXPECT_TRUE(isWritableRegName("Größe \"x\" [y]"));
    EXPECT_FALSE(isWritableRegName("a\nb"));
    EXPECT_FALSE(isWritableRegName("a\0b"s));
    EXPECT_FALSE(isWritableRegName("\xe4"));
}

struct UnreadableText
{
    const char *scenario;
    std::string text;
    int line;
    std::string message;
};

void PrintTo(const UnreadableText &text, std::ostream *out)
{
    *out << text.scenario;
}

class RegFileFormatError : public ::testing::TestWithParam<UnreadableText>
{
};

TEST_P(RegFileFormatError, StopsAtTheLineThatCannotBeRead)
{
    const RegFileContent content = parseRegFile(GetParam().text);
    ASSERT_TRUE(content.error);
    EXPECT_EQ(content.error->line, GetParam().line);
    EXPECT_EQ(content.error->message, GetParam().message);
    EXPECT_TRUE(content.roots.empty());
}

namespace {

const std::string kHead = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\"ok\"=\"1\"\n";

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Rows, RegFileFormatError,
    ::testing::Values(
        UnreadableText{"no_header", "[HKEY_CURRENT_USER\\Software]\n", 1,
                       "the first line is not REGEDIT4"},
        UnreadableText{"blank_before_header", "\nREGEDIT4\n", 1, "the first line is not REGEDIT4"},
        UnreadableText{"utf16", "\xff\xfeR\0E\0"s, 1, "the line is not UTF-8 text"},
        UnreadableText{"unknown_line", kHead + "chart=1\n", 5,
                       "this line is neither a key, a value nor a comment"},
        UnreadableText{"value_before_key", "REGEDIT4\n\"a\"=\"1\"\n", 2,
                       "a value stands outside a key"},
        UnreadableText{"value_after_removed_key",
                       "REGEDIT4\n[-HKEY_CURRENT_USER\\Software]\n\"a\"=\"1\"\n", 3,
                       "a value stands outside a key"},
        UnreadableText{"unknown_root", "REGEDIT4\n[HKEY_NOWHERE\\Software]\n", 2,
                       "unknown root key \"HKEY_NOWHERE\""},
        UnreadableText{"empty_key_name", "REGEDIT4\n[HKEY_CURRENT_USER\\A\\\\B]\n", 2,
                       "a key name is empty"},
        UnreadableText{"key_line_open", "REGEDIT4\n[HKEY_CURRENT_USER\\A\n", 2,
                       "a key line must end with ]"},
        UnreadableText{"not_utf8", kHead + "\"a\"=\"\xe4\"\n", 5, "the line is not UTF-8 text"},
        UnreadableText{"bad_escape", kHead + "\"a\"=\"C:\\maps\"\n", 5,
                       "only \\\\ and \\\" may follow a backslash in quotes"},
        UnreadableText{"open_quote", kHead + "\"a\"=\"abc\n", 5, "the closing quote is missing"},
        UnreadableText{"after_quote", kHead + "\"a\"=\"abc\" x\n", 5,
                       "text follows the closing quote"},
        UnreadableText{"no_equals", kHead + "\"a\" \"abc\"\n", 5,
                       "= is missing after the value name"},
        UnreadableText{"unknown_data", kHead + "\"a\"=qword:1\n", 5, "unknown kind of value data"},
        UnreadableText{"dword_long", kHead + "\"a\"=dword:123456789\n", 5,
                       "dword: needs 1 to 8 hex digits"},
        UnreadableText{"dword_bad", kHead + "\"a\"=dword:-1\n", 5,
                       "dword: needs 1 to 8 hex digits"},
        UnreadableText{"hex_digit", kHead + "\"a\"=hex:1a,0g\n", 5,
                       "hex data must be bytes of one or two hex digits between commas"},
        UnreadableText{"hex_wide", kHead + "\"a\"=hex:1a0\n", 5,
                       "hex data must be bytes of one or two hex digits between commas"},
        UnreadableText{"hex_comma", kHead + "\"a\"=hex:1a,\n", 5, "the hex data end with a comma"},
        UnreadableText{"hex_type", kHead + "\"a\"=hex(z):00\n", 5,
                       "hex( needs a type number in hex digits and )"},
        UnreadableText{"hex_colon", kHead + "\"a\"=hex 00\n", 5, ": is missing after hex"},
        UnreadableText{"continued_bad", kHead + "\"a\"=hex:01,\\\n  02,zz\n", 5,
                       "hex data must be bytes of one or two hex digits between commas"},
        UnreadableText{"continued_past_end", kHead + "\"a\"=hex:01,\\\n", 5,
                       "the hex data go on past the end of the file"},
        UnreadableText{"control_in_name", kHead + "\"a\tb\"=\"1\"\n", 5,
                       "a value name holds a control character"}),
    [](const auto &info) { return std::string(info.param.scenario); });

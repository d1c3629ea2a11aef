#include "settings/reg_file_format.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace kelvane {
namespace {

using namespace std::string_literals;

constexpr std::string_view kCsg = "Software\\Ostrabel\\Kelvane\\Csg";

TEST(RegFileFormat, WritesEveryKeyInTreeOrderAndTextThatIsNoPlainStringAsHex)
{
    RegRoots roots;
    EXPECT_EQ(serializeRegFile(roots), "REGEDIT4\n\n");
    RegNode &csg = roots[kCurrentUserRoot].findOrCreate(kCsg);
    csg.setValue("chart", RegType::String, "1");
    csg.setValue("", RegType::String, "unnamed");
    csg.setValue("quote", RegType::String, "say \"hi\" \\ back");
    csg.setValue("count", RegType::Dword, "\xff\xff\xff\xff"s);
    csg.setValue("bytes", RegType::Binary, "\x1a\x00\xff"s);
    csg.setValue("path", RegType::ExpandString, "%\0"s);
    csg.setValue("zero", RegType::String, "a\0"s);
    csg.setValue("newline", RegType::String, "a\nb");
    csg.setValue("latin1", RegType::String, "\xe4");
    csg.setValue("utf8", RegType::String, "\xc3\xa4");
    csg.setValue("empty", RegType::String, "");
    csg.setValue("big", 0xb, "\x01\0\0\0\0\0\0\0"s);
    roots[kCurrentUserRoot].findOrCreate("Software\\Ostrabel\\Kelvane\\Bsp");

    EXPECT_EQ(serializeRegFile(roots), "REGEDIT4\n\n"
                                       "[HKEY_CURRENT_USER\\Software]\n\n"
                                       "[HKEY_CURRENT_USER\\Software\\Ostrabel]\n\n"
                                       "[HKEY_CURRENT_USER\\Software\\Ostrabel\\Kelvane]\n\n"
                                       "[HKEY_CURRENT_USER\\Software\\Ostrabel\\Kelvane\\Csg]\n"
                                       "\"chart\"=\"1\"\n"
                                       "@=\"unnamed\"\n"
                                       "\"quote\"=\"say \\\"hi\\\" \\\\ back\"\n"
                                       "\"count\"=dword:ffffffff\n"
                                       "\"bytes\"=hex:1a,00,ff\n"
                                       "\"path\"=hex(2):25,00\n"
                                       "\"zero\"=hex(1):61,00\n"
                                       "\"newline\"=hex(1):61,0a,62\n"
                                       "\"latin1\"=hex(1):e4\n"
                                       "\"utf8\"=\"\xc3\xa4\"\n"
                                       "\"empty\"=\"\"\n"
                                       "\"big\"=hex(b):01,00,00,00,00,00,00,00\n\n"
                                       "[HKEY_CURRENT_USER\\Software\\Ostrabel\\Kelvane\\Bsp]\n\n");
}

TEST(RegFileFormat, ReadsBackEveryValueByteForByteFromLinesOfAtMost80Characters)
{
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
        {"long", RegType::Binary, std::string(300, '\x7f')},
        {"back\\slash \"quoted\"", RegType::String, "\\\\server\\\"share\""},
    };
    RegRoots roots;
    RegNode &csg = roots[kCurrentUserRoot].findOrCreate(kCsg);
    for (const auto &v : values)
        csg.setValue(v.name, v.type, v.data);

    const std::string text = serializeRegFile(roots);
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
         start = end + 1)
        EXPECT_LE(end - start, 80u) << text.substr(start, end - start);
    RegFileContent back = parseRegFile(text);
    ASSERT_FALSE(back.error) << back.error->message;
    for (const auto &v : values) {
        const StoredValue *read = back.roots[kCurrentUserRoot].find(kCsg)->value(v.name);
        ASSERT_TRUE(read) << v.name;
        EXPECT_EQ(read->type, v.type) << v.name;
        EXPECT_EQ(read->data, v.data) << v.name;
    }
    EXPECT_EQ(serializeRegFile(back.roots), text);
}

TEST(RegFileFormat, ReadsWhatOtherWritersWrite)
{
    // Version 5 with byte order mark and CR LF, comments, blanks around =, the unnamed value
    // and one named "@", key names in another case, removals, and another root.
    const RegFileContent content = parseRegFile(
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n; written by hand\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Vendor]\r\n\"x\"=\"1\"\r\n"
        "[HKEY_CURRENT_USER\\Software\\Ostrabel]\r\n  ; indented comment\r\n@=\"default\"\r\n"
        "\"spaced\" = dword:2A\r\n\"@\"=\"at\"\r\n\"Value\"=\"first\"\r\n"
        "\"bytes\"=hex:01,\\\r\n  02\r\n\"gone\"=\"1\"\r\n\"gone\"=-\r\n"
        "[hkey_current_user\\SOFTWARE\\ostrabel]\r\n\"VALUE\"=\"second\"\r\n"
        "[HKEY_CURRENT_USER\\Software\\Old\\Deep]\r\n\"x\"=\"1\"\r\n"
        "[-HKEY_CURRENT_USER\\Software\\Old]\r\n");
    ASSERT_FALSE(content.error) << content.error->message;
    EXPECT_EQ(serializeRegFile(content.roots), "REGEDIT4\n\n"
                                               "[HKEY_CURRENT_USER\\Software]\n\n"
                                               "[HKEY_CURRENT_USER\\Software\\Ostrabel]\n"
                                               "@=\"default\"\n"
                                               "\"spaced\"=dword:0000002a\n"
                                               "\"@\"=\"at\"\n"
                                               "\"Value\"=\"second\"\n"
                                               "\"bytes\"=hex:01,02\n\n"
                                               "[HKEY_LOCAL_MACHINE\\Software]\n\n"
                                               "[HKEY_LOCAL_MACHINE\\Software\\Vendor]\n"
                                               "\"x\"=\"1\"\n\n");
    for (const char *empty : {"", "\xEF\xBB\xBF"}) {
        const RegFileContent none = parseRegFile(empty);
        EXPECT_FALSE(none.error);
        EXPECT_TRUE(none.roots.empty());
    }
}

TEST(RegFileFormat, TellsWhichNamesCanBeWritten)
{
    EXPECT_TRUE(isWritableRegName(""));
    EXPECT_TRUE(isWritableRegName("Größe \"x\" [y]"));
    EXPECT_FALSE(isWritableRegName("a\nb"));
    EXPECT_FALSE(isWritableRegName("a\0b"s));
    EXPECT_FALSE(isWritableRegName("\xe4"));
}

TEST(RegFileFormat, StopsAtTheLineThatCannotBeReadAndKeepsNothing)
{
    const std::string head = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\"ok\"=\"1\"\n";
    const std::string hexBytes = "hex data must be bytes of one or two hex digits between commas";
    const struct
    {
        std::string text;
        int line;
        std::string message;
    } rows[] = {
        {"[HKEY_CURRENT_USER\\Software]\n", 1, "the first line is not REGEDIT4"},
        {"\nREGEDIT4\n", 1, "the first line is not REGEDIT4"},
        {"\xff\xfeR\0E\0"s, 1, "the line is not UTF-8 text"},
        {head + "chart=1\n", 5, "this line is neither a key, a value nor a comment"},
        {"REGEDIT4\n\"a\"=\"1\"\n", 2, "a value stands outside a key"},
        {"REGEDIT4\n[-HKEY_CURRENT_USER\\Software]\n\"a\"=\"1\"\n", 3,
         "a value stands outside a key"},
        {"REGEDIT4\n[HKEY_NOWHERE\\Software]\n", 2, "unknown root key \"HKEY_NOWHERE\""},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A\\\\B]\n", 2, "a key name is empty"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A\n", 2, "a key line must end with ]"},
        {head + "\"a\"=\"\xe4\"\n", 5, "the line is not UTF-8 text"},
        {head + "\"a\"=\"C:\\maps\"\n", 5, "only \\\\ and \\\" may follow a backslash in quotes"},
        {head + "\"a\"=\"abc\n", 5, "the closing quote is missing"},
        {head + "\"a\"=\"abc\" x\n", 5, "text follows the closing quote"},
        {head + "\"a\" \"abc\"\n", 5, "= is missing after the value name"},
        {head + "\"a\"=qword:1\n", 5, "unknown kind of value data"},
        {head + "\"a\"=dword:123456789\n", 5, "dword: needs 1 to 8 hex digits"},
        {head + "\"a\"=dword:-1\n", 5, "dword: needs 1 to 8 hex digits"},
        {head + "\"a\"=hex:1a,0g\n", 5, hexBytes},
        {head + "\"a\"=hex:1a0\n", 5, hexBytes},
        {head + "\"a\"=hex:1a,\n", 5, "the hex data end with a comma"},
        {head + "\"a\"=hex(z):00\n", 5, "hex( needs a type number in hex digits and )"},
        {head + "\"a\"=hex 00\n", 5, ": is missing after hex"},
        {head + "\"a\"=hex:01,\\\n  02,zz\n", 5, hexBytes},
        {head + "\"a\"=hex:01,\\\n", 5, "the hex data go on past the end of the file"},
        {head + "\"a\tb\"=\"1\"\n", 5, "a value name holds a control character"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.text));
        const RegFileContent content = parseRegFile(row.text);
        ASSERT_TRUE(content.error);
        EXPECT_EQ(content.error->line, row.line);
        EXPECT_EQ(content.error->message, row.message);
        EXPECT_TRUE(content.roots.empty());
    }
}

} // namespace
} // namespace kelvane

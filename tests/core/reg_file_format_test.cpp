#include "settings/reg_file_format.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace kelvane {
namespace {

using namespace std::string_literals;

constexpr std::string_view kCsg = "Software\\Ostrabel\\Kelvane\\Csg";

std::string repeated(std::string_view piece, int times)
{
    std::string text;
    while (times-- > 0)
        text += piece;
    return text;
}

struct Value
{
    std::string name;
    std::uint32_t type;
    std::string data;
};

void expectValues(const RegNode *key, const std::vector<Value> &values)
{
    ASSERT_TRUE(key);
    for (const Value &v : values) {
        const StoredValue *read = key->value(v.name);
        EXPECT_TRUE(read && read->type == v.type && read->data == v.data)
            << ::testing::PrintToString(v.name) << " reads as "
            << (read ? ::testing::PrintToString(read->data) : "nothing");
    }
}

// Text that is no plain string goes out as hex, and every value comes back byte for byte from
// lines of at most 80 characters.
TEST(RegFileFormat, WritesEveryKeyInTreeOrderAndReadsEveryValueBackByteForByte)
{
    RegRoots roots;
    EXPECT_EQ(serializeRegFile(roots), "REGEDIT4\n\n");
    const std::vector<Value> csgValues = {
        {"", RegType::String, "unnamed"},
        {"quote", RegType::String, "say \"hi\" \\ back"},
        {"count", RegType::Dword, "\xff\xff\xff\xff"s},
        {"bytes", RegType::Binary, "\x1a\x00\xff"s},
        {"path", RegType::ExpandString, "%\0"s},
        {"zero", RegType::String, "a\0"s},
        {"newline", RegType::String, "a\nb"},
        {"latin1", RegType::String, "\xe4"},
        {"utf8", RegType::String, "\xc3\xa4"},
        {"big", 0xb, "\x01\0\0\0\0\0\0\0"s},
    };
    const std::vector<Value> bspValues = {
        {"short dword", RegType::Dword, "\x01\x02"},
        {"multi", RegType::MultiString, "one\0two\0\0"s},
        {"long", RegType::Binary, std::string(300, '\x7f')},
        {"back\\slash \"quoted\"", RegType::String, "\\\\server\\\"share\""},
    };
    const std::string bsp = "Software\\Ostrabel\\Kelvane\\Bsp";
    for (const auto &[path, values] : {std::pair(std::string(kCsg), csgValues), {bsp, bspValues}})
        for (const Value &v : values)
            roots[kCurrentUserRoot].findOrCreate(path).setValue(v.name, v.type, v.data);

    const std::string text = serializeRegFile(roots);
    EXPECT_TRUE(text.starts_with("REGEDIT4\n\n"
                                 "[HKEY_CURRENT_USER\\Software]\n\n"
                                 "[HKEY_CURRENT_USER\\Software\\Ostrabel]\n\n"
                                 "[HKEY_CURRENT_USER\\Software\\Ostrabel\\Kelvane]\n\n"
                                 "[HKEY_CURRENT_USER\\Software\\Ostrabel\\Kelvane\\Csg]\n"
                                 "@=\"unnamed\"\n"
                                 "\"quote\"=\"say \\\"hi\\\" \\\\ back\"\n"
                                 "\"count\"=dword:ffffffff\n"
                                 "\"bytes\"=hex:1a,00,ff\n"
                                 "\"path\"=hex(2):25,00\n"
                                 "\"zero\"=hex(1):61,00\n"
                                 "\"newline\"=hex(1):61,0a,62\n"
                                 "\"latin1\"=hex(1):e4\n"
                                 "\"utf8\"=\"\xc3\xa4\"\n"
                                 "\"big\"=hex(b):01,00,00,00,00,00,00,00\n\n"
                                 "[HKEY_CURRENT_USER\\Software\\Ostrabel\\Kelvane\\Bsp]\n"))
        << text;
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
         start = end + 1)
        EXPECT_LE(end - start, 80u) << text.substr(start, end - start);
    RegFileContent back = parseRegFile(text);
    ASSERT_FALSE(back.error) << back.error->message;
    expectValues(back.roots[kCurrentUserRoot].find(kCsg), csgValues);
    expectValues(back.roots[kCurrentUserRoot].find(bsp), bspValues);
    EXPECT_EQ(serializeRegFile(back.roots), text);
}

// regedit's own UTF-16 export is read in the Windows leg, from the real regedit.
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
        EXPECT_TRUE(!none.error && none.roots.empty());
    }
}

// The registry's limits: 255 characters to a key name (as UTF-16 counts them), 16,383 to a
// value name; up to them a file reads and writes back the same. The file store's test keeps to
// 512 levels of keys.
TEST(RegFileFormat, ReadsAndWritesKeysUpToTheRegistrysLimitsAndTearsDownAnyDepth)
{
    const std::string text = "REGEDIT4\n\n[HKEY_CURRENT_USER\\" + std::string(253, 'n') +
                             "\U0001F600]\n\"" + std::string(16383, 'v') + "\"=\"1\"\n\n";
    EXPECT_EQ(serializeRegFile(parseRegFile(text).roots), text);

    // A key a million levels deep, as a file of 2 MB would name it, is refused at its line; a
    // tree deeper than any call stack (made in memory) goes without recursing once per level.
    const std::string line = "[HKEY_CURRENT_USER" + repeated("\\k", 1'000'000) + "]\n";
    const RegFileContent deep = parseRegFile("REGEDIT4\n" + line + "junk\n");
    ASSERT_TRUE(deep.error);
    EXPECT_EQ(deep.error->message, "the key lies deeper than 512 levels");

    RegRoots roots;
    roots[kCurrentUserRoot].findOrCreate(repeated("k\\", 299'999) + "k");
    roots[kCurrentUserRoot].findOrCreate(repeated("k\\", 1000) + "other");
    roots[kCurrentUserRoot].find("k")->removeChild("k");
    EXPECT_EQ(roots[kCurrentUserRoot].find("k")->children().size(), 0u);
    roots[kCurrentUserRoot].findOrCreate(repeated("k\\", 299'999) + "k");
    roots.clear();
}

TEST(RegFileFormat, StopsAtTheLineThatCannotBeReadAndKeepsNothing)
{
    const std::string head = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\"ok\"=\"1\"\n";
    const struct
    {
        std::string text;
        int line;
        std::string message;
    } rows[] = {
        {"\nREGEDIT4\n", 1, "the first line is not REGEDIT4"},
        {"\xff\xfeR\0\n\0\x00\xdc"s, 2, "the text is not UTF-16"},
        {head + "chart=1\n", 5, "this line is neither a key, a value nor a comment"},
        {"REGEDIT4\n[-HKEY_CURRENT_USER\\Software]\n\"a\"=\"1\"\n", 3,
         "a value stands outside a key"},
        {"REGEDIT4\n[HKEY_NOWHERE\\Software]\n", 2, "unknown root key \"HKEY_NOWHERE\""},
        {head + "\"a\"=\"\xe4\"\n", 5, "the line is not UTF-8 text"},
        {head + "\"a\"=\"C:\\maps\"\n", 5, "only \\\\ and \\\" may follow a backslash in quotes"},
        {head + "\"a\"=dword:123456789\n", 5, "dword: needs 1 to 8 hex digits"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\" + std::string(254, 'k') + "\U0001F600]\n", 2,
         "a key name is longer than 255 characters"},
        {"REGEDIT4\n[HKEY_CURRENT_USER" + repeated("\\k", 513) + "]\n", 2,
         "the key lies deeper than 512 levels"},
        {head + "\"" + std::string(16384, 'v') + "\"=\"1\"\n", 5,
         "a value name is longer than 16383 characters"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.text.substr(0, 200)));
        const RegFileContent content = parseRegFile(row.text);
        ASSERT_TRUE(content.error);
        EXPECT_EQ(content.error->line, row.line);
        EXPECT_EQ(content.error->message, row.message);
        EXPECT_TRUE(content.roots.empty());
    }
}

} // namespace
} // namespace kelvane

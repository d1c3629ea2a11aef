// The small helpers: numbers, DOS name patterns, code pages, the command line and the script's
// text.

#include "app/command_line.h"
#include "script/script_text.h"
#include "util/codepage.h"
#include "util/dos_path.h"
#include "util/number.h"

#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace kelvane {
namespace {

TEST(LeadingNumberTest, ReadsTheNumberTheTextBeginsWith)
{
    constexpr double kHuge = std::numeric_limits<double>::infinity();
    // clang-format off
    const std::pair<std::string, double> rows[] = {
        {"06", 6}, {"+.5", 0.5}, {" \t-3", -3}, {"2,5", 2}, {"1.2.3", 1.2}, {"- 1", 0},
        {"2.41E2", 241}, {"1e+", 1}, {"", 0}, {"+.", 0},
        // beyond a double: above every limit, or nothing
        {"1e400", kHuge}, {"-1e400", -kHuge}, {"1e-400", 0}, {std::string(400, '9'), kHuge},
    };
    // clang-format on
    for (const auto &[text, value] : rows)
        EXPECT_DOUBLE_EQ(leadingNumber(text), value) << '"' << text << '"';
}

TEST(DosPatternTest, MatchesNamesCaseBlind)
{
    // clang-format off
    const std::tuple<const char *, const char *, bool> rows[] = {
        {"*.map", "TEST.MAP", true}, {"*.map", "test.mapx", false}, {"*", "", true},
        {"ab*ba", "aba", false}, // the star may not make the ends overlap
        {"*.m?p", "x.MAP", true}, {"*.rmf;*.map", "x.map", true},
    };
    // clang-format on
    for (const auto &[pattern, name, matches] : rows)
        EXPECT_EQ(dos::matches(pattern, name), matches) << pattern << " / " << name;
}

using codepage::fromUtf8;

TEST(CodePageTest, EncodesEachCharacterAsItsByteInThePageAndAsciiAsItIs)
{
    // clang-format off
    const std::tuple<const char *, unsigned, unsigned char> rows[] = { // one character each
        {"\u00A0", 850, 0xFF}, {"€", 1252, 0x80}, {"Ÿ", 1252, 0x9F}, // 437, 850: golden scripts
    };
    // clang-format on
    for (const auto &[text, page, byte] : rows) {
        EXPECT_FALSE(fromUtf8(text, page).unrepresentable) << text << " " << page;
        EXPECT_EQ(fromUtf8(text, page).bytes, std::string(1, static_cast<char>(byte))) << text;
    }
    const std::string ascii = "@echo off\r\nSET WADROOT=C:\\Half-Life\t~\x7F";
    EXPECT_EQ(fromUtf8(ascii, 0).bytes, ascii);
    EXPECT_FALSE(fromUtf8(ascii, 0).unrepresentable);
}

TEST(CodePageTest, ReportsTheFirstCharacterThePageLacksAndNeverPassesOnBrokenText)
{
    // clang-format off
    const std::tuple<const char *, unsigned, char32_t> rows[] = {
        {"Bjørn", 437, U'ø'}, {"5 €", 850, U'€'}, {"Hřa", 1252, U'ř'}, {"map 😀", 850, U'😀'},
        {"Büro", 0, U'ü'},    {"\xC2\x81", 1252, 0x81},
        // Bytes that are no UTF-8: cut, overlong, surrogate, beyond U+10FFFF, never a lead.
        {"a\xC3", 850, 0xFFFD},     {"a\xC0\xAF", 850, 0xFFFD}, {"\xED\xA0\x80", 850, 0xFFFD},
        {"\xF4\x90\x80\x80", 850, 0xFFFD}, {"\xFF", 850, 0xFFFD},
    };
    // clang-format on
    for (const auto &[text, page, character] : rows)
        EXPECT_EQ(fromUtf8(text, page).unrepresentable, character)
            << ::testing::PrintToString(text);
    EXPECT_EQ(codepage::toUtf8(U'ø') + codepage::toUtf8(U'€') + codepage::toUtf8(U'😀'), "ø€😀");
}

// These agree with what Wine's cmd reads under the locales.
TEST(CodePageTest, GivesTheOemPageOfTheLocale)
{
    EXPECT_EQ(codepage::oemCodePageOfLocale("en_GB.UTF-8"), 850u);
    EXPECT_EQ(codepage::oemCodePageOfLocale("xx_YY.UTF-8"), 437u);
}

// What --help, --version and an unknown argument print is the install test's; the first of
// several decides, and the toolkit's options pass on with their values in either form.
TEST(CommandLineTest, TheFirstArgumentDecidesAndTheToolkitsOptionsPassOn)
{
    const CommandLine version = readCommandLine({"--version", "--bogus"}, "kelvane", "2.7");
    EXPECT_EQ(version.action, CommandLine::Action::Print);
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.text.starts_with("Kelvane 2.7\n")) << version.text;
    const CommandLine run =
        readCommandLine({"-style=fusion", "--reverse", "-style", "--help"}, "kelvane", "2.7");
    EXPECT_EQ(run.action, CommandLine::Action::Run);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.text, "");
}

// The golden scripts show the lines as a whole, with %, &, ^, | and > in every kind of text;
// these are the cases they do not reach.
TEST(ScriptTextTest, TextIsEscapedOutsideItsQuotesAndAMapNameLosesFourCharacters)
{
    EXPECT_EQ(script::bareText("C:\\Half-Life (alt) a<b"), "C:\\Half-Life (alt) a^<b");
    EXPECT_EQ(script::mapNameOf("my.map.map"), "my.map");
    EXPECT_EQ(script::mapNameOf("map"), "");
    EXPECT_EQ(script::commandText(" \"c|%x%\" "), " \"c|%%x%%\" ");
    // An unbalanced quote leaves the rest of the line quoted, as the interpreter reads it.
    EXPECT_EQ(script::commandText(" \"a & b "), " \"a & b ");
    EXPECT_EQ(script::halfLifeLine(true, "C:\\HL", "a &b%"),
              "\"C:\\HL\\hl.exe\" -console -game \"a &b%%\"");
}

} // namespace
} // namespace kelvane

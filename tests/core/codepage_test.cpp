#include "util/codepage.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

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
    for (unsigned page : {437u, 1252u, 0u}) {
        EXPECT_EQ(fromUtf8(ascii, page).bytes, ascii) << page;
        EXPECT_FALSE(fromUtf8(ascii, page).unrepresentable) << page;
    }
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

// The English, German and Polish rows agree with what Wine's cmd reads under these locales.
TEST(CodePageTest, GivesTheOemPageOfTheLocale)
{
    // clang-format off
    const std::pair<const char *, unsigned> rows[] = {
        {"", 437}, {"en_US", 437}, {"en_GB.UTF-8", 850}, {"de_CH.ISO-8859-1", 850},
        {"pl_PL.UTF-8", 852}, {"xx_YY.UTF-8", 437},
    };
    // clang-format on
    for (const auto &[locale, page] : rows)
        EXPECT_EQ(codepage::oemCodePageOfLocale(locale), page) << locale;
}

} // namespace
} // namespace kelvane

#include "util/codepage.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using codepage::fromUtf8;

TEST(CodePageTest, EncodesEachCharacterAsItsByteInThePageAndAsciiAsItIs)
{
    // clang-format off
    const struct
    {
        const char *text; // one character, UTF-8
        unsigned codePage;
        unsigned char byte;
    } rows[] = {
        {"ä", 437, 0x84}, {"Ä", 850, 0x8E}, {"Ö", 437, 0x99},       {"Á", 850, 0xB5},
        {"¢", 437, 0x9B}, {"£", 437, 0x9C}, {"\u00A0", 850, 0xFF}, {"ä", 1252, 0xE4},
        {"€", 1252, 0x80}, {"Ÿ", 1252, 0x9F},
    };
    // clang-format on
    for (const auto &row : rows) {
        const auto encoded = fromUtf8(row.text, row.codePage);
        EXPECT_FALSE(encoded.unrepresentable) << row.text << " " << row.codePage;
        EXPECT_EQ(encoded.bytes, std::string(1, static_cast<char>(row.byte)))
            << row.text << " " << row.codePage;
    }
    const std::string ascii = "@echo off\r\nSET WADROOT=C:\\Half-Life\t~\x7F";
    for (unsigned page : {437u, 850u, 1252u, 0u, 852u}) {
        EXPECT_EQ(fromUtf8(ascii, page).bytes, ascii) << page;
        EXPECT_FALSE(fromUtf8(ascii, page).unrepresentable) << page;
    }
}

TEST(CodePageTest, ReportsTheFirstCharacterThePageLacksAndNeverPassesOnBrokenText)
{
    // clang-format off
    const struct
    {
        const char *text;
        unsigned codePage;
        char32_t character;
    } rows[] = {
        {"Bjørn", 437, U'ø'},       {"5 €", 850, U'€'},      {"5 €", 437, U'€'},
        {"Hřa ř", 850, U'ř'},       {"Karte ✓", 850, U'✓'},  {"Hřa", 1252, U'ř'},
        {"地图", 850, U'地'},       {"map 😀", 850, U'😀'},  {"Büro", 852, U'ü'},
        {"Büro", 0, U'ü'},          {"\xC2\x81", 1252, 0x81},
        // Bytes that are no UTF-8: cut, overlong, surrogate, beyond U+10FFFF, never a lead.
        {"a\xC3", 850, 0xFFFD},     {"a\xC0\xAF", 850, 0xFFFD}, {"\xED\xA0\x80", 850, 0xFFFD},
        {"\xF4\x90\x80\x80", 850, 0xFFFD}, {"\xFF", 850, 0xFFFD}, {"\xE2\x82", 850, 0xFFFD},
    };
    // clang-format on
    for (const auto &row : rows) {
        const auto encoded = fromUtf8(row.text, row.codePage);
        ASSERT_TRUE(encoded.unrepresentable) << ::testing::PrintToString(row.text);
        EXPECT_EQ(*encoded.unrepresentable, row.character) << ::testing::PrintToString(row.text);
    }
    EXPECT_EQ(codepage::toUtf8(U'ø') + codepage::toUtf8(U'€') + codepage::toUtf8(U'😀'), "ø€😀");
}

// The English, German, French and Polish rows agree with what Wine's cmd reads under these
// locales.
TEST(CodePageTest, GivesTheOemPageOfTheLocale)
{
    // clang-format off
    const std::pair<const char *, unsigned> rows[] = {
        {"", 437},           {"C", 437},           {"POSIX", 437},        {"C.UTF-8", 437},
        {"en_US.UTF-8", 437}, {"en_US", 437},      {"en_ZA.UTF-8", 437},  {"en_GB.UTF-8", 850},
        {"en_AU.UTF-8", 850}, {"en_CA.UTF-8", 850}, {"de_DE.UTF-8", 850}, {"de_DE@euro", 850},
        {"de_AT.utf8", 850},  {"de_CH.ISO-8859-1", 850}, {"de", 850},     {"fr_FR.UTF-8", 850},
        {"nb_NO.UTF-8", 850}, {"pt_BR.UTF-8", 850}, {"pl_PL.UTF-8", 852}, {"cs_CZ.UTF-8", 852},
        {"ru_RU.UTF-8", 866}, {"tr_TR.UTF-8", 857}, {"el_GR.UTF-8", 737}, {"ja_JP.UTF-8", 932},
        {"zh_CN.UTF-8", 936}, {"zh_TW.UTF-8", 950}, {"xx_YY.UTF-8", 437},
    };
    // clang-format on
    for (const auto &[locale, page] : rows)
        EXPECT_EQ(codepage::oemCodePageOfLocale(locale), page) << locale;
}

} // namespace
} // namespace kelvane

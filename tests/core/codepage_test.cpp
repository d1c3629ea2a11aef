#include "util/codepage.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using codepage::fromUtf8;

struct ByteCase
{
    const char *text; // one character, UTF-8
    unsigned codePage;
    unsigned char byte;
};

class CodePageByteTest : public ::testing::TestWithParam<ByteCase>
{
};

TEST_P(CodePageByteTest, EncodesTheCharacterAsItsByte)
{
    const auto &c = GetParam();
    const auto encoded = fromUtf8(c.text, c.codePage);
    ASSERT_FALSE(encoded.unrepresentable);
    EXPECT_EQ(encoded.bytes, std::string(1, static_cast<char>(c.byte)));
}

INSTANTIATE_TEST_SUITE_P(Rows, CodePageByteTest,
                         ::testing::Values(ByteCase{"ä", 437, 0x84}, ByteCase{"ä", 850, 0x84},
                                           ByteCase{"Ä", 850, 0x8E}, ByteCase{"ö", 850, 0x94},
                                           ByteCase{"Ö", 437, 0x99}, ByteCase{"ü", 437, 0x81},
                                           ByteCase{"Ü", 850, 0x9A}, ByteCase{"ß", 437, 0xE1},
                                           ByteCase{"ß", 850, 0xE1}, ByteCase{"é", 850, 0x82},
                                           ByteCase{"ø", 850, 0x9B}, ByteCase{"Á", 850, 0xB5},
                                           ByteCase{"¢", 437, 0x9B}, ByteCase{"£", 437, 0x9C},
                                           ByteCase{"\u00A0", 850, 0xFF}, ByteCase{"ä", 1252, 0xE4},
                                           ByteCase{"€", 1252, 0x80}, ByteCase{"Ÿ", 1252, 0x9F}));

TEST(CodePageTest, AsciiStaysAsItIsInEveryPage)
{
    const std::string ascii = "@echo off\r\nSET WADROOT=C:\\Half-Life\t~\x7F";
    for (unsigned page : {437u, 850u, 1252u, 0u, 852u}) {
        const auto encoded = fromUtf8(ascii, page);
        EXPECT_FALSE(encoded.unrepresentable) << page;
        EXPECT_EQ(encoded.bytes, ascii) << page;
    }
}

TEST(CodePageTest, UmlautsGetTheOemBytesNotTheAnsiOnes)
{
    EXPECT_EQ(fromUtf8("C:\\Spiele\\Größe für Übung", 850).bytes, "C:\\Spiele\\Gr\x94\xE1"
                                                                  "e f\x81r \x9A"
                                                                  "bung");
}

struct MissingCase
{
    const char *text;
    unsigned codePage;
    char32_t character;
};

class CodePageMissingTest : public ::testing::TestWithParam<MissingCase>
{
};

TEST_P(CodePageMissingTest, ReportsTheFirstCharacterThePageLacks)
{
    const auto &c = GetParam();
    const auto encoded = fromUtf8(c.text, c.codePage);
    ASSERT_TRUE(encoded.unrepresentable);
    EXPECT_EQ(*encoded.unrepresentable, c.character);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CodePageMissingTest,
    ::testing::Values(MissingCase{"Bjørn", 437, U'ø'}, MissingCase{"5 €", 850, U'€'},
                      MissingCase{"5 €", 437, U'€'}, MissingCase{"Hřa ř", 850, U'ř'},
                      MissingCase{"Karte ✓", 850, U'✓'}, MissingCase{"Hřa", 1252, U'ř'},
                      MissingCase{"地图", 850, U'地'}, MissingCase{"map 😀", 850, U'😀'},
                      MissingCase{"Büro", 852, U'ü'}, MissingCase{"Büro", 0, U'ü'},
                      MissingCase{"\xC2\x81", 1252, 0x81}));

TEST(CodePageTest, BytesThatAreNoUtf8AreNeverPassedOn)
{
    for (const char *broken :
         {"a\xC3", "a\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF", "\xE2\x82"}) {
        const auto encoded = fromUtf8(broken, 850);
        ASSERT_TRUE(encoded.unrepresentable) << testing::PrintToString(broken);
        EXPECT_EQ(*encoded.unrepresentable, char32_t{0xFFFD});
    }
}

TEST(CodePageTest, WritesCharactersBackAsUtf8)
{
    EXPECT_EQ(codepage::toUtf8(U'A'), "A");
    EXPECT_EQ(codepage::toUtf8(U'ø'), "ø");
    EXPECT_EQ(codepage::toUtf8(U'€'), "€");
    EXPECT_EQ(codepage::toUtf8(U'😀'), "😀");
}

struct LocaleCase
{
    const char *locale;
    unsigned codePage;
};

class OemCodePageTest : public ::testing::TestWithParam<LocaleCase>
{
};

TEST_P(OemCodePageTest, GivesTheLocalesOemPage)
{
    EXPECT_EQ(codepage::oemCodePageOfLocale(GetParam().locale), GetParam().codePage);
}

// The English, German, French and Polish rows agree with what Wine's cmd reads under these
// locales.
INSTANTIATE_TEST_SUITE_P(
    Rows, OemCodePageTest,
    ::testing::Values(LocaleCase{"", 437}, LocaleCase{"C", 437}, LocaleCase{"POSIX", 437},
                      LocaleCase{"C.UTF-8", 437}, LocaleCase{"en_US.UTF-8", 437},
                      LocaleCase{"en_US", 437}, LocaleCase{"en_ZA.UTF-8", 437},
                      LocaleCase{"en_GB.UTF-8", 850}, LocaleCase{"en_AU.UTF-8", 850},
                      LocaleCase{"en_CA.UTF-8", 850}, LocaleCase{"de_DE.UTF-8", 850},
                      LocaleCase{"de_DE@euro", 850}, LocaleCase{"de_AT.utf8", 850},
                      LocaleCase{"de_CH.ISO-8859-1", 850}, LocaleCase{"de", 850},
                      LocaleCase{"fr_FR.UTF-8", 850}, LocaleCase{"nb_NO.UTF-8", 850},
                      LocaleCase{"pt_BR.UTF-8", 850}, LocaleCase{"pl_PL.UTF-8", 852},
                      LocaleCase{"cs_CZ.UTF-8", 852}, LocaleCase{"ru_RU.UTF-8", 866},
                      LocaleCase{"tr_TR.UTF-8", 857}, LocaleCase{"el_GR.UTF-8", 737},
                      LocaleCase{"ja_JP.UTF-8", 932}, LocaleCase{"zh_CN.UTF-8", 936},
                      LocaleCase{"zh_TW.UTF-8", 950}, LocaleCase{"xx_YY.UTF-8", 437}));

} // namespace
} // namespace kelvane

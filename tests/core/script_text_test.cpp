#include "script/script_text.h"

#include <gtest/gtest.h>

namespace kelvane::script {
namespace {

// The golden scripts show the lines as a whole, with %, &, ^, | and > in every kind of text;
// these are the cases they do not reach.
TEST(ScriptTextTest, TextReachesTheInterpreterAsWrittenAndAMapNameLosesFourCharacters)
{
    EXPECT_EQ(bareText("C:\\Half-Life (alt) a<b"), "C:\\Half-Life (alt) a^<b");
    EXPECT_EQ(mapNameOf("my.map.map"), "my.map");
    EXPECT_EQ(mapNameOf(".map"), "");
    EXPECT_EQ(mapNameOf("map"), "");
    EXPECT_EQ(joinLines({"a", "", "b"}), "a\r\n\r\nb");
    EXPECT_EQ(joinLines({}), "");
}

TEST(ScriptTextTest, TypedTextIsEscapedOutsideItsQuotesAndAModNameWithABlankIsQuoted)
{
    EXPECT_EQ(commandText(" \"c|%x%\" "), " \"c|%%x%%\" ");
    // An unbalanced quote leaves the rest of the line quoted, as the interpreter reads it.
    EXPECT_EQ(commandText(" \"a & b "), " \"a & b ");
    EXPECT_EQ(halfLifeLine(true, "C:\\HL", "my mod"),
              "\"C:\\HL\\hl.exe\" -console -game \"my mod\"");
    EXPECT_EQ(halfLifeLine(true, "C:\\HL", "a &b%"),
              "\"C:\\HL\\hl.exe\" -console -game \"a &b%%\"");
}

} // namespace
} // namespace kelvane::script

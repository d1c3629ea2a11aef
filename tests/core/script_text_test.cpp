#include "script/presets_script.h"
#include "script/script_text.h"

#include <gtest/gtest.h>

namespace kelvane::script {
namespace {

// The golden scripts show the lines as a whole; these are the cases they do not reach.
TEST(ScriptTextTest, TextReachesTheInterpreterAsWrittenAndAMapNameLosesFourCharacters)
{
    EXPECT_EQ(quotedText("C:\\100% & more^"), "C:\\100%% & more^");
    EXPECT_EQ(bareText("C:\\100% & a|b<c>d^e"), "C:\\100%% ^& a^|b^<c^>d^^e");
    EXPECT_EQ(bareText("C:\\Half-Life (alt)"), "C:\\Half-Life (alt)");
    EXPECT_EQ(mapNameOf("my.map.map"), "my.map");
    EXPECT_EQ(mapNameOf(".map"), "");
    EXPECT_EQ(mapNameOf("map"), "");
    EXPECT_EQ(joinLines({"a", "", "b"}), "a\r\n\r\nb");
    EXPECT_EQ(joinLines({}), "");
}

TEST(PresetsScriptTest, ListsEveryFieldTheScriptUsesAndNoOther)
{
    PresetsScriptInput input;
    input.toolsDirectory = "C:\\ZHLT";
    input.mapDirectory = "C:\\maps";
    input.mapFile = "test.map";
    input.halfLifeDirectory = "C:\\Half-Life";
    input.modDirectory = "C:\\Half-Life\\valve";
    input.modName = "valve";
    const auto fields = [&] {
        std::string out;
        for (const auto &f : presetsScript(input).fields)
            out += f.name + "=" + f.value + "|";
        return out;
    };
    EXPECT_EQ(fields(), "Half-Life-Verzeichnis=C:\\Half-Life|");
    input.preset = Preset::leaks;
    input.copyBsp = true;
    input.startHalfLife = true;
    EXPECT_EQ(fields(), "Half-Life-Verzeichnis=C:\\Half-Life|ZHLT-Verzeichnis=C:\\ZHLT|"
                        "Verzeichnis der .map-Datei=C:\\maps|.map-Datei=test.map|"
                        "MOD-Verzeichnis=C:\\Half-Life\\valve|MOD-Name=valve|");
}

} // namespace
} // namespace kelvane::script

#include "script/presets_script.h"
#include "script/script_text.h"

#include <gtest/gtest.h>

namespace kelvane::script {
namespace {

TEST(ScriptTextTest, ToolLineQuotesBothPathsAndKeepsTheParameterLine)
{
    EXPECT_EQ(toolLine("C:\\ZHLT", "HLCSG.EXE", "  -estimate ", "C:\\maps", "test.map"),
              "\"C:\\ZHLT\\HLCSG.EXE\"  -estimate \"C:\\maps\\test.map\"");
    EXPECT_EQ(toolLine("D:\\", "HLBSP.EXE", "  ", "E:\\", "a b.map"),
              "\"D:\\HLBSP.EXE\"  \"E:\\a b.map\"");
}

TEST(ScriptTextTest, CopyLineNamesTheBspOnBothSides)
{
    EXPECT_EQ(copyLine(true, "C:\\maps", "test", "C:\\Half-Life\\valve"),
              "copy \"C:\\maps\\test.bsp\" \"C:\\Half-Life\\valve\\maps\\test.bsp\"");
    EXPECT_EQ(copyLine(true, "E:\\", "test", "G:\\"),
              "copy \"E:\\test.bsp\" \"G:\\maps\\test.bsp\"");
    EXPECT_EQ(copyLine(false, "C:\\maps", "test", "C:\\valve"),
              "echo Die .bsp wird nicht kopiert...");
}

TEST(ScriptTextTest, HalfLifeLineLeavesTheModNameUnquoted)
{
    EXPECT_EQ(halfLifeLine(true, "C:\\Half-Life", "valve"),
              "\"C:\\Half-Life\\hl.exe\" -console -game valve");
    EXPECT_EQ(halfLifeLine(true, "F:\\", ""), "\"F:\\hl.exe\" -console -game ");
    EXPECT_EQ(halfLifeLine(false, "C:\\Half-Life", "valve"),
              "echo Half-Life wird nicht gestartet...");
}

TEST(ScriptTextTest, ShutdownLineHasTheCallersWording)
{
    EXPECT_EQ(shutdownLine(true, kNoShutdownPresets), "rundll32.exe user,ExitWindows");
    EXPECT_EQ(shutdownLine(false, kNoShutdownPresets),
              "echo Der PC wird nicht heruntergefahren...");
    EXPECT_EQ(shutdownLine(false, kNoShutdownEndWindow),
              "echo Der Computer wird nicht heruntergefahren...");
}

TEST(ScriptTextTest, WadrootTakesThePathWithoutSeparatorOrQuotes)
{
    EXPECT_EQ(wadrootLine("C:\\Half-Life"), "SET WADROOT=C:\\Half-Life");
    EXPECT_EQ(wadrootLine("F:\\"), "SET WADROOT=F:\\");
    EXPECT_EQ(wadrootLine("C:\\Spiele\\Half Life"), "SET WADROOT=C:\\Spiele\\Half Life");
}

TEST(ScriptTextTest, MapNameDropsExactlyFourCharacters)
{
    EXPECT_EQ(mapNameOf("test.map"), "test");
    EXPECT_EQ(mapNameOf("test.MAP"), "test");
    EXPECT_EQ(mapNameOf("my.map.map"), "my.map");
    EXPECT_EQ(mapNameOf(".map"), "");
    EXPECT_EQ(mapNameOf("map"), "");
}

TEST(ScriptTextTest, TextReachesTheInterpreterAsWritten)
{
    EXPECT_EQ(quotedText("C:\\100% & more^"), "C:\\100%% & more^");
    EXPECT_EQ(bareText("C:\\100% & a|b<c>d^e"), "C:\\100%% ^& a^|b^<c^>d^^e");
    EXPECT_EQ(bareText("C:\\Half-Life (alt)"), "C:\\Half-Life (alt)");
}

TEST(ScriptTextTest, LinesAreJoinedWithoutALineEndAfterTheLast)
{
    EXPECT_EQ(joinLines({"a", "", "b"}), "a\r\n\r\nb");
    EXPECT_EQ(joinLines({"a"}), "a");
    EXPECT_EQ(joinLines({}), "");
}

TEST(PresetsScriptTest, EverySwitchTextBeginsWithABlankAndEndsWithExactlyOne)
{
    for (Preset preset : kAllPresets) {
        for (const PresetToolLine &line : toolLinesOf(preset)) {
            std::string parameters;
            for (std::string_view piece : line.pieces)
                parameters += piece;
            ASSERT_GE(parameters.size(), 2u);
            EXPECT_EQ(parameters.front(), ' ') << line.program;
            EXPECT_EQ(parameters.back(), ' ') << line.program;
            EXPECT_NE(parameters[parameters.size() - 2], ' ') << line.program;
            EXPECT_NE(line.program, "NETVIS.EXE");
        }
    }
}

TEST(PresetsScriptTest, ListsOnlyTheFieldsTheScriptUses)
{
    PresetsScriptInput input;
    input.toolsDirectory = "C:\\ZHLT";
    input.mapDirectory = "C:\\maps";
    input.mapFile = "test.map";
    input.halfLifeDirectory = "C:\\Half-Life";
    input.modDirectory = "C:\\Half-Life\\valve";
    input.modName = "valve";
    const auto names = [](const Script &s) {
        std::vector<std::string> out;
        for (const auto &f : s.fields)
            out.push_back(f.name);
        return out;
    };
    EXPECT_EQ(names(presetsScript(input)), std::vector<std::string>{"Half-Life-Verzeichnis"});

    input.preset = Preset::leaks;
    input.copyBsp = true;
    input.startHalfLife = true;
    const Script all = presetsScript(input);
    EXPECT_EQ(names(all), (std::vector<std::string>{"Half-Life-Verzeichnis", "ZHLT-Verzeichnis",
                                                    "Verzeichnis der .map-Datei", ".map-Datei",
                                                    "MOD-Verzeichnis", "MOD-Name"}));
    EXPECT_EQ(all.fields.back().value, "valve");
}

} // namespace
} // namespace kelvane::script

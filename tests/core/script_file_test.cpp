#include "script/script_file.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

namespace kelvane::script {
namespace {

using kelvane::testing::TestApp;

constexpr const char *kInProgramDirectory = "C:\\Programme\\Kelvane\\compile.bat";
constexpr const char *kNothingDone =
    " compile.bat wurde darum nicht geschrieben und nichts gestartet.";

Script scriptWith(std::string field, std::string value)
{
    return {"@echo off\r\nSET WADROOT=" + value, {{std::move(field), value}}};
}

class ScriptFileTest : public ::testing::Test
{
protected:
    TestApp app;
};

TEST_F(ScriptFileTest, WritesIntoTheProgramDirectoryInTheInterpretersCodePageAndStarts)
{
    app.launcher.codePage = 850;
    EXPECT_FALSE(
        writeAndStart(scriptWith("Half-Life-Verzeichnis", "C:\\Spiele\\Größe"), app.services));
    EXPECT_EQ(app.writer.written[kInProgramDirectory],
              "@echo off\r\nSET WADROOT=C:\\Spiele\\Gr\x94\xE1"
              "e");
    EXPECT_EQ(app.launcher.started, std::vector<std::string>{kInProgramDirectory});
}

TEST_F(ScriptFileTest, AProgramDirectoryAtADriveRootGetsNoSecondBackslash)
{
    app.program.directory = "D:\\";
    EXPECT_FALSE(writeAndStart(scriptWith("Half-Life-Verzeichnis", "C:\\HL"), app.services));
    EXPECT_EQ(app.launcher.started, std::vector<std::string>{"D:\\compile.bat"});
}

TEST_F(ScriptFileTest, WithoutAUserDirectoryAnUnwritableProgramDirectoryIsTheEnd)
{
    app.program.dataDirectory.clear();
    app.writer.failure = Failure{"Keine Berechtigung."};
    EXPECT_EQ(writeAndStart(scriptWith("Half-Life-Verzeichnis", "C:\\HL"), app.services)->message,
              "compile.bat konnte nicht geschrieben werden; es wurde nichts gestartet.\r\n"
              "Keine Berechtigung.");
    EXPECT_TRUE(app.launcher.started.empty());
}

struct RefusedCase
{
    std::string value;
    unsigned codePage;
    std::string message;
};

class ScriptFileRefusalTest : public ScriptFileTest,
                              public ::testing::WithParamInterface<RefusedCase>
{
};

TEST_P(ScriptFileRefusalTest, NamesTheFieldAndWritesAndStartsNothing)
{
    app.launcher.codePage = GetParam().codePage;
    const Outcome refused =
        writeAndStart(scriptWith("MOD-Verzeichnis", GetParam().value), app.services);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->message, GetParam().message);
    EXPECT_TRUE(app.writer.written.empty());
    EXPECT_TRUE(app.launcher.started.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ScriptFileRefusalTest,
    ::testing::Values(
        RefusedCase{"C:\\HL\r\nformat c:", 850,
                    "Das Feld \"MOD-Verzeichnis\" enthält einen Zeilenumbruch oder ein anderes "
                    "Steuerzeichen, das die Zeilen des Skripts zerteilen würde." +
                        std::string(kNothingDone)},
        RefusedCase{"C:\\HL\nvalve", 850,
                    "Das Feld \"MOD-Verzeichnis\" enthält einen Zeilenumbruch oder ein anderes "
                    "Steuerzeichen, das die Zeilen des Skripts zerteilen würde." +
                        std::string(kNothingDone)},
        RefusedCase{std::string("C:\\HL\0x", 7), 850,
                    "Das Feld \"MOD-Verzeichnis\" enthält einen Zeilenumbruch oder ein anderes "
                    "Steuerzeichen, das die Zeilen des Skripts zerteilen würde." +
                        std::string(kNothingDone)},
        RefusedCase{"C:\\HL\" & calc & \"", 850,
                    "Das Feld \"MOD-Verzeichnis\" (\"C:\\HL\" & calc & \"\") enthält das Zeichen "
                    "\", das in keinem Windows-Pfad stehen darf." +
                        std::string(kNothingDone)},
        RefusedCase{"C:\\Hry\\Hřa", 850,
                    "Das Feld \"MOD-Verzeichnis\" (\"C:\\Hry\\Hřa\") enthält das Zeichen \"ř\", "
                    "das die Eingabeaufforderung in ihrer Codepage 850 nicht darstellen kann; sie "
                    "würde einen anderen Pfad lesen." +
                        std::string(kNothingDone) +
                        " Bitte wählen Sie einen Pfad ohne dieses Zeichen."},
        RefusedCase{"C:\\Spiele\\Größe", 0,
                    "Das Feld \"MOD-Verzeichnis\" (\"C:\\Spiele\\Größe\") enthält das Zeichen "
                    "\"ö\", das die Eingabeaufforderung in ihrer Codepage 0 nicht darstellen "
                    "kann; sie würde einen anderen Pfad lesen." +
                        std::string(kNothingDone) +
                        " Bitte wählen Sie einen Pfad ohne dieses Zeichen."},
        RefusedCase{"C:\\HL\\\xC3", 850,
                    "Das Feld \"MOD-Verzeichnis\" enthält Bytes, die kein gültiger UTF-8-Text "
                    "sind." +
                        std::string(kNothingDone)}));

TEST_F(ScriptFileTest, AScriptOfAsciiTextNeedsNoKnownCodePage)
{
    app.launcher.codePage = 0;
    EXPECT_FALSE(writeAndStart(scriptWith("Half-Life-Verzeichnis", "C:\\HL"), app.services));
    EXPECT_EQ(app.writer.written[kInProgramDirectory], "@echo off\r\nSET WADROOT=C:\\HL");
}

} // namespace
} // namespace kelvane::script

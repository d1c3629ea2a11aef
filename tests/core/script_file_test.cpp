#include "script/script_file.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

namespace kelvane::script {
namespace {

using kelvane::testing::TestApp;

Script scriptWith(std::string value)
{
    return {"@echo off\r\nSET WADROOT=" + value, {{"MOD-Verzeichnis", value}}, {}};
}

TEST(ScriptFileTest, RefusesAFieldThatCannotStandInTheScriptAndWritesAndStartsNothing)
{
    const std::string nothingDone = " compile.bat wurde darum nicht geschrieben und nichts "
                                    "gestartet.";
    const std::string control = "Das Feld \"MOD-Verzeichnis\" enthält einen Zeilenumbruch oder "
                                "ein anderes Steuerzeichen, das die Zeilen des Skripts zerteilen "
                                "würde." +
                                nothingDone;
    const auto lacking = [&](std::string value, std::string character, std::string page) {
        return "Das Feld \"MOD-Verzeichnis\" (\"" + value + "\") enthält das Zeichen \"" +
               character + "\", das die Eingabeaufforderung in ihrer Codepage " + page +
               " nicht darstellen kann; sie würde einen anderen Pfad lesen." + nothingDone +
               " Bitte wählen Sie einen Pfad ohne dieses Zeichen.";
    };
    const struct
    {
        std::string value;
        unsigned codePage;
        std::string message;
    } rows[] = {
        {"C:\\HL\r\nformat c:", 850, control},
        {"C:\\HL\" & calc & \"", 850,
         "Das Feld \"MOD-Verzeichnis\" (\"C:\\HL\" & calc & \"\") enthält das Zeichen \", das in "
         "keinem Windows-Pfad stehen darf." +
             nothingDone},
        {"C:\\Hry\\Hřa", 850, lacking("C:\\Hry\\Hřa", "ř", "850")},
        {"C:\\Spiele\\Größe", 0, lacking("C:\\Spiele\\Größe", "ö", "0")},
        {"C:\\HL\\\xC3", 850,
         "Das Feld \"MOD-Verzeichnis\" enthält Bytes, die kein gültiger UTF-8-Text sind." +
             nothingDone},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.value));
        TestApp app;
        app.launcher.codePage = row.codePage;
        const Outcome refused = writeAndStart(scriptWith(row.value), app.services);
        ASSERT_TRUE(refused);
        EXPECT_EQ(refused->message, row.message);
        EXPECT_TRUE(app.writer.written.empty());
        EXPECT_TRUE(app.launcher.started.empty());
    }
}

TEST(ScriptFileTest, WritesBesideTheProgramEvenAtADriveRootAndAsciiInAnyCodePage)
{
    TestApp app;
    app.program.directory = "D:\\";
    app.launcher.codePage = 0;
    EXPECT_FALSE(writeAndStart(scriptWith("C:\\HL"), app.services));
    EXPECT_EQ(app.writer.written["D:\\compile.bat"], "@echo off\r\nSET WADROOT=C:\\HL");
    EXPECT_EQ(app.launcher.started, std::vector<std::string>{"D:\\compile.bat"});
}

TEST(ScriptFileTest, WithoutAUserDirectoryAnUnwritableProgramDirectoryIsTheEnd)
{
    TestApp app;
    app.program.dataDirectory.clear();
    app.writer.failingDirectories.emplace("C:\\Programme\\Kelvane", Failure{"Keine Berechtigung."});
    EXPECT_EQ(writeAndStart(scriptWith("C:\\HL"), app.services)->message,
              "compile.bat konnte nicht geschrieben werden; es wurde nichts gestartet.\r\n"
              "Keine Berechtigung.");
    EXPECT_TRUE(app.launcher.started.empty());
}

} // namespace
} // namespace kelvane::script

#include "app/start_window.h"
#include "script/presets.h"
#include "support/compile_app.h"
#include "support/golden.h"

#include <functional>
#include <gtest/gtest.h>
#include <sstream>

namespace kelvane {
namespace {

using testing::error;
using testing::golden;
using testing::ShownMessage;

constexpr const char *kScriptPath = "C:\\Programme\\Kelvane\\compile.bat";
constexpr const char *kUserScriptPath = "C:\\Users\\me\\AppData\\Local\\Kelvane\\compile.bat";
constexpr const char *kNoPermission = "Die Datei \"C:\\Programme\\Kelvane\\compile.bat\" konnte "
                                      "nicht geschrieben werden: Keine Berechtigung.";

using testing::Paths;

struct PresetsApp : testing::CompileApp
{
    PresetsApp() { stored("Start", "csg", "1"); } // the road to the presets is open

    // Starts the program, chooses the places, and opens the presets window.
    presets &open(const Paths &paths = {})
    {
        windows.navigate(choosePlaces(paths), WindowId::presets);
        messages.shown.clear();
        return windows.presetsWindow();
    }

    // Checks the boxes named, in that order, and clicks "Kompilieren starten...".
    void compile(const std::string &checked)
    {
        presets &w = windows.presetsWindow();
        std::istringstream names(checked);
        for (std::string name; names >> name;)
            static_cast<CheckBox *>(w.control(name))->setState(CheckBox::Checked);
        w.compile_presets.click();
    }
};

TEST(PresetsTest, WritesTheScriptOfTheLastCheckedPresetStartsItAndEnds)
{
    const struct
    {
        std::string file;
        std::string checked; // the boxes in the order of the clicks
        Paths paths = {};
        unsigned codePage = 850;
    } rows[] = {
        // clang-format off
        {"presets_leaks.bat", "leaks"},
        {"presets_none_checked.bat", ""},
        // Several checked: the last in the window's order wins, whatever the order of clicks.
        // The lines after the compilers are the end window's, whose golden scripts hold them.
        {"presets_finalrelease.bat", "finalrelease leaks"},
        {"presets_blanks_umlauts_cp437.bat", "fastcompile copy_bsp start_hl_check",
         {"C:\\Program Files\\Zoner Tools", "D:\\Karten für HL\\Brücke", "Übung 1.map",
          "C:\\Spiele\\Half-Life Größe", "C:\\Spiele\\Half-Life Größe\\Straße é"}, 437},
        {"presets_cmd_characters.bat", "leaks copy_bsp start_hl_check",
         {.tools = "C:\\Tools 50%", .halfLife = "C:\\H&L 100%", .mod = "C:\\H&L 100%\\mod^x&y"}},
        // A field the script does not use may hold any character.
        {"presets_leaks.bat", "leaks", {.mod = "C:\\Half-Life\\Bjørn"}, 437},
        // clang-format on
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.file + " " + row.checked);
        PresetsApp app;
        app.launcher.codePage = row.codePage;
        app.open(row.paths);
        app.compile(row.checked);
        EXPECT_EQ(app.messages.shown, std::vector<ShownMessage>{});
        EXPECT_EQ(app.writer.written[kScriptPath], golden(row.file));
        EXPECT_EQ(app.launcher.started, std::vector<std::string>{kScriptPath});
        EXPECT_TRUE(app.host.quitCalled && app.windows.hasEnded());
    }
}

// A character the code page lacks is the script file's test, in every field alike.
TEST(PresetsTest, EveryFailureSavesTellsWhyAndKeepsTheProgramOpen)
{
    const struct
    {
        std::string message;
        std::function<void(PresetsApp &)> setup; // after the places
    } rows[] = {
        {"Sie haben keine .map ausgewählt",
         [](PresetsApp &app) { app.windows.startWindow().MAPFile.setPattern("none.map"); }},
        // A directory list only ever holds real places, so a line break comes from an edited
        // store, through the name of a file.
        {"Das Feld \".map-Datei\" enthält einen Zeilenumbruch oder ein anderes Steuerzeichen, das "
         "die Zeilen des Skripts zerteilen würde. compile.bat wurde darum nicht geschrieben und "
         "nichts gestartet.",
         [](PresetsApp &app) {
             app.files.addFile("C:\\maps\\test.map\r\nformat c:.map");
             app.windows.startWindow().MAPFile.setPattern("*.map");
             app.windows.startWindow().MAPFile.choose("test.map\r\nformat c:.map");
         }},
        {std::string("compile.bat konnte weder im Programmverzeichnis noch in Ihrem "
                     "Benutzerverzeichnis geschrieben werden; es wurde nichts gestartet.\r\n") +
             kNoPermission + "\r\nKein Platz mehr auf dem Gerät.",
         [](PresetsApp &app) {
             app.writer.failingDirectories.emplace("C:\\Programme\\Kelvane",
                                                   Failure{kNoPermission});
             app.writer.failingDirectories.emplace("C:\\Users\\me\\AppData\\Local\\Kelvane",
                                                   Failure{"Kein Platz mehr auf dem Gerät."});
         }},
        {"compile.bat wurde als \"C:\\Programme\\Kelvane\\compile.bat\" geschrieben, konnte aber "
         "nicht gestartet werden.\r\nWine wurde nicht gefunden.",
         [](PresetsApp &app) { app.launcher.failure = Failure{"Wine wurde nicht gefunden."}; }},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.message);
        PresetsApp app;
        app.open();
        row.setup(app);
        app.compile("leaks");
        EXPECT_EQ(app.messages.shown, std::vector<ShownMessage>{error(row.message)});
        EXPECT_EQ(app.read("Presets", "leaks"), "1") << "saved before the checks";
        if (app.launcher.failure)
            EXPECT_EQ(app.writer.written[kScriptPath], golden("presets_leaks.bat"));
        else
            EXPECT_TRUE(app.writer.written.empty());
        EXPECT_TRUE(app.launcher.started.empty());
        EXPECT_TRUE(!app.host.quitCalled && app.host.isVisible(WindowId::presets));
    }

    // With only the program's directory read-only, the script goes to the user's directory.
    PresetsApp app;
    app.writer.failingDirectories.emplace("C:\\Programme\\Kelvane", Failure{kNoPermission});
    app.open();
    app.compile("leaks");
    EXPECT_EQ(app.messages.shown, std::vector<ShownMessage>{});
    EXPECT_EQ(app.writer.written[kUserScriptPath], golden("presets_leaks.bat"));
    EXPECT_EQ(app.launcher.started, std::vector<std::string>{kUserScriptPath});
    EXPECT_TRUE(app.host.quitCalled);
}

} // namespace
} // namespace kelvane

#include "app/start_window.h"
#include "script/hl_mod.h"
#include "script/presets.h"
#include "support/fakes.h"
#include "support/golden.h"

#include <functional>
#include <gtest/gtest.h>

namespace kelvane {
namespace {

using testing::matchesGolden;
using testing::TestApp;

constexpr const char *kScriptPath = "C:\\Programme\\Kelvane\\compile.bat";

// The places a compile reads, as the user chose them on the start window and on HL_MOD.
struct Paths
{
    std::string tools = "C:\\ZHLT";
    std::string mapDirectory = "C:\\maps";
    std::string mapFile = "test.map";
    std::string halfLife = "C:\\Half-Life";
    std::string mod = "C:\\Half-Life\\valve";
};

class PresetsTest : public ::testing::Test
{
protected:
    PresetsTest()
    {
        for (char drive : {'D', 'E', 'F', 'G'})
            app.files.addDrive(drive);
        app.files.setCurrent("C:\\Work");
        app.stored("Start", "csg", "1"); // no first-start notes
    }

    // Starts the program, chooses the places, and opens the presets window.
    presets &open(const Paths &paths = {})
    {
        app.files.addDirectory(paths.tools);
        app.files.addFile(paths.mapDirectory + (paths.mapDirectory.back() == '\\' ? "" : "\\") +
                          paths.mapFile);
        app.files.addDirectory(paths.halfLife);
        app.files.addDirectory(paths.mod);
        app.windows.start();
        start_window &start = app.windows.startWindow();
        EXPECT_FALSE(start.ZHLTDir.setPath(paths.tools));
        EXPECT_FALSE(start.MAPDir.setPath(paths.mapDirectory));
        start.MAPFile.choose(paths.mapFile);
        EXPECT_EQ(start.MAPFile.chosen(), paths.mapFile);
        HL_MOD &hlMod = app.windows.hlMod();
        EXPECT_FALSE(hlMod.HLDir.setPath(paths.halfLife));
        EXPECT_FALSE(hlMod.MODDir.setPath(paths.mod));
        app.windows.navigate(start, WindowId::presets);
        app.messages.shown.clear();
        return app.windows.presetsWindow();
    }

    // What the click wrote as compile.bat into the program directory.
    std::string script() const
    {
        const auto found = app.writer.written.find(kScriptPath);
        return found == app.writer.written.end() ? std::string() : found->second;
    }

    void expectNothingWrittenOrStarted()
    {
        EXPECT_TRUE(app.writer.written.empty());
        EXPECT_TRUE(app.launcher.started.empty());
        EXPECT_FALSE(app.host.quitCalled) << "the program stays";
        EXPECT_TRUE(app.host.isVisible(WindowId::presets));
    }

    void expectOneError(const std::string &text)
    {
        ASSERT_EQ(app.messages.shown.size(), 1u);
        EXPECT_EQ(app.messages.shown[0].text, text);
        EXPECT_EQ(app.messages.shown[0].icon, MessageIcon::Critical);
        EXPECT_EQ(app.messages.shown[0].title, "Fehler!!!");
    }

    TestApp app;
};

TEST_F(PresetsTest, DeclaresItsControlsWithTheirTextsAndNothingChecked)
{
    presets &w = open();
    EXPECT_EQ(w.title(), "Kelvane - Presets");
    std::vector<std::string> names;
    for (const Control *c : w.controls())
        names.push_back(c->name());
    EXPECT_EQ(names,
              (std::vector<std::string>{"BSPoptionsINFO", "beta", "leaks", "fastcompile",
                                        "entityupdate", "lichtupdate", "compile_presets", "voll",
                                        "qualitaet", "prerelease", "finalrelease", "after_compile",
                                        "start_hl_check", "copy_bsp", "exit_win"}));
    EXPECT_EQ(w.BSPoptionsINFO.caption(),
              "Wählen Sie ein Preset ( Presets von Quellor sind mit einem * gekennzeichnet )");
    EXPECT_EQ(w.beta.caption(), "Presets für die Beta-Phase");
    EXPECT_EQ(w.leaks.caption(), "Leak-Suche ( was Leaks sind könnt ihr bei "
                                 "developer.valvesoftware.com/wiki/Leak erfahren )");
    EXPECT_EQ(w.fastcompile.caption(),
              "Schnelles kompilieren ( schnelles VIS, RAD ohne extra und bounce 0 ) *");
    EXPECT_EQ(w.entityupdate.caption(),
              "Entity Update ( nur CSG mit -onlyents und BSP | kein Licht wird verändert ) *");
    EXPECT_EQ(w.lichtupdate.caption(),
              "Licht Update ( Lichtveränderungen werden übernommen | vorher muss einmal mit "
              "-incremental kompiliert sein )");
    EXPECT_EQ(w.compile_presets.caption(), "Kompilieren starten...");
    EXPECT_EQ(w.voll.caption(), "Presets für Pre-Release und Final-Release");
    EXPECT_EQ(w.qualitaet.caption(),
              "Lichtqualitätstest ( schnelles Kompilieren mit vielen Details ) *");
    EXPECT_EQ(w.prerelease.caption(),
              "Kompilieren für Pre-Release ( volles VIS, RAD mit bounce 5 )");
    EXPECT_EQ(w.finalrelease.caption(), "Final Release ( maximale Details ) *");
    EXPECT_EQ(w.after_compile.caption(), "Nach-kompilier-Optionen");
    EXPECT_EQ(w.start_hl_check.caption(), "Nach dem Kompilieren Half-Life starten");
    EXPECT_EQ(w.start_hl_check.tooltip(), "Startet Half-Life nach dem Kompilieren");
    EXPECT_EQ(w.copy_bsp.caption(),
              "Die kompilierte .bsp in den \"maps\"-Ordner des MODs kopieren");
    EXPECT_EQ(w.copy_bsp.tooltip(), "Kopiert die .bsp in den maps-Ordner");
    EXPECT_EQ(w.exit_win.caption(),
              "Den PC nach Beendigung des Kompiliervorgangs herunterfahren ( nur Win9X / ME )");

    const std::pair<const CheckBox *, const GroupBox *> boxes[] = {
        {&w.leaks, &w.beta},
        {&w.fastcompile, &w.beta},
        {&w.entityupdate, &w.beta},
        {&w.lichtupdate, &w.beta},
        {&w.qualitaet, &w.voll},
        {&w.prerelease, &w.voll},
        {&w.finalrelease, &w.voll},
        {&w.start_hl_check, &w.after_compile},
        {&w.copy_bsp, &w.after_compile},
        {&w.exit_win, &w.after_compile},
    };
    for (const auto &[box, group] : boxes) {
        EXPECT_EQ(box->state(), CheckBox::Unchecked) << box->name();
        EXPECT_EQ(box->group(), group) << box->name();
    }
}

TEST_F(PresetsTest, ControlsStayInsideTheWindowAndTheirFramesWithoutOverlapping)
{
    presets &w = open();
    const auto inside = [](const Rect &inner, const Rect &outer) {
        return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w &&
               inner.y + inner.h <= outer.y + outer.h;
    };
    const auto overlap = [](const Rect &a, const Rect &b) {
        return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
    };
    for (const Control *c : w.controls()) {
        EXPECT_TRUE(inside(c->geometry(), {0, 0, 640, 455})) << c->name();
        if (c->group()) {
            EXPECT_TRUE(inside(c->geometry(), c->group()->geometry())) << c->name();
        }
        for (const Control *other : w.controls()) {
            if (other == c || other == c->group() || c == other->group())
                continue;
            EXPECT_FALSE(overlap(c->geometry(), other->geometry()))
                << c->name() << " and " << other->name();
        }
    }
}

TEST_F(PresetsTest, SavesTheTenValuesInOrderAndReadsThemBack)
{
    presets &w = open();
    w.leaks.setState(CheckBox::Checked);
    w.finalrelease.setState(CheckBox::Checked);
    w.copy_bsp.setState(CheckBox::Checked);
    app.backend.clearCalls();
    w.activateMenuItem("hlmod");

    std::vector<std::string> names;
    for (const auto &call : app.backend.calls())
        if (call.operation == "set")
            names.push_back(call.path.substr(call.path.rfind('\\') + 1));
    EXPECT_EQ(names, (std::vector<std::string>{"leaks", "fastcompile", "entityupdate",
                                               "lichtupdate", "qualitaet", "prerelease",
                                               "finalrelease", "halflife", "copy", "shutdown"}));
    EXPECT_EQ(app.read("Presets", "leaks"), "1");
    EXPECT_EQ(app.read("Presets", "fastcompile"), "0");
    EXPECT_EQ(app.read("Presets", "finalrelease"), "1");
    EXPECT_EQ(app.read("Presets", "halflife"), "0");
    EXPECT_EQ(app.read("Presets", "copy"), "1");
    EXPECT_EQ(app.read("Presets", "shutdown"), "0");

    TestApp second; // the next run reads them back
    for (const char *name : {"leaks", "fastcompile", "entityupdate", "lichtupdate", "qualitaet",
                             "prerelease", "finalrelease", "halflife", "copy", "shutdown"})
        second.stored("Presets", name, app.read("Presets", name));
    presets &again = second.windows.presetsWindow();
    EXPECT_TRUE(again.leaks.isChecked());
    EXPECT_FALSE(again.fastcompile.isChecked());
    EXPECT_TRUE(again.finalrelease.isChecked());
    EXPECT_TRUE(again.copy_bsp.isChecked());
    EXPECT_FALSE(again.exit_win.isChecked());
}

TEST_F(PresetsTest, WithoutAMapItSavesAndRefusesWithNothingWrittenOrStarted)
{
    Paths paths;
    presets &w = open(paths);
    app.windows.startWindow().MAPFile.setPattern("none.map");
    ASSERT_EQ(app.windows.startWindow().MAPFile.chosen(), "");
    w.prerelease.setState(CheckBox::Checked);
    w.compile_presets.click();
    expectOneError("Sie haben keine .map ausgewählt");
    expectNothingWrittenOrStarted();
    EXPECT_EQ(app.read("Presets", "prerelease"), "1") << "saved before the check";
}

// One row: the choices on the presets window, the places, the page of the interpreter, and
// the file the script must equal.
struct GoldenCase
{
    std::string golden;
    std::vector<std::string> checked; // names of the boxes to check, in this order
    Paths paths = {};
    unsigned codePage = 850;
};

void PrintTo(const GoldenCase &c, std::ostream *os)
{
    *os << c.golden;
}

class PresetsGoldenTest : public PresetsTest, public ::testing::WithParamInterface<GoldenCase>
{
};

TEST_P(PresetsGoldenTest, WritesTheScriptStartsItAndEnds)
{
    const GoldenCase &c = GetParam();
    app.launcher.codePage = c.codePage;
    presets &w = open(c.paths);
    for (const auto &name : c.checked)
        static_cast<CheckBox *>(w.control(name))->setState(CheckBox::Checked);
    w.compile_presets.click();

    EXPECT_TRUE(app.messages.shown.empty()) << app.messages.shown.front().text;
    EXPECT_TRUE(matchesGolden(c.golden, script()));
    EXPECT_EQ(app.launcher.started, std::vector<std::string>{kScriptPath});
    EXPECT_TRUE(app.host.quitCalled);
    EXPECT_TRUE(app.windows.hasEnded());
}

Paths driveRoots()
{
    Paths p;
    p.tools = "D:\\";
    p.mapDirectory = "E:\\";
    p.halfLife = "F:\\";
    p.mod = "G:\\";
    return p;
}

Paths modAtDriveRoot()
{
    Paths p;
    p.mod = "C:\\";
    return p;
}

Paths testMAP()
{
    Paths p;
    p.mapFile = "test.MAP";
    return p;
}

Paths blanksAndUmlauts(const std::string &mapDirectory)
{
    Paths p;
    p.tools = "C:\\Program Files\\Zoner Tools";
    p.mapDirectory = mapDirectory;
    p.mapFile = "Übung 1.map";
    p.halfLife = "C:\\Spiele\\Half-Life Größe";
    p.mod = "C:\\Spiele\\Half-Life Größe\\Straße é";
    return p;
}

Paths commandCharacters()
{
    Paths p;
    p.tools = "C:\\Tools 50%";
    p.halfLife = "C:\\H&L 100%";
    p.mod = "C:\\H&L 100%\\mod^x&y";
    return p;
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, PresetsGoldenTest,
    ::testing::Values(GoldenCase{"presets_leaks.bat", {"leaks"}},
                      GoldenCase{"presets_fastcompile.bat", {"fastcompile"}},
                      GoldenCase{"presets_entityupdate.bat", {"entityupdate"}},
                      GoldenCase{"presets_lichtupdate.bat", {"lichtupdate"}},
                      GoldenCase{"presets_qualitaet.bat", {"qualitaet"}},
                      GoldenCase{"presets_prerelease.bat", {"prerelease"}},
                      GoldenCase{"presets_finalrelease.bat", {"finalrelease"}},
                      GoldenCase{"presets_none_checked.bat", {}},
                      // Several checked: the last one in the window's order wins, whatever the
                      // order of the clicks.
                      GoldenCase{"presets_finalrelease.bat", {"finalrelease", "leaks"}},
                      GoldenCase{"presets_entityupdate.bat", {"entityupdate", "fastcompile"}},
                      GoldenCase{"presets_finalrelease.bat",
                                 {"leaks", "fastcompile", "entityupdate", "lichtupdate",
                                  "qualitaet", "prerelease", "finalrelease"}},
                      GoldenCase{"presets_leaks_copy_bsp.bat", {"leaks", "copy_bsp"}},
                      GoldenCase{"presets_leaks_start_halflife.bat", {"leaks", "start_hl_check"}},
                      GoldenCase{"presets_leaks_shutdown.bat", {"leaks", "exit_win"}},
                      GoldenCase{"presets_leaks_all_after_compile.bat",
                                 {"leaks", "copy_bsp", "start_hl_check", "exit_win"}},
                      GoldenCase{"presets_drive_roots.bat",
                                 {"leaks", "copy_bsp", "start_hl_check", "exit_win"},
                                 driveRoots()},
                      GoldenCase{"presets_mod_at_drive_root.bat",
                                 {"leaks", "copy_bsp", "start_hl_check"},
                                 modAtDriveRoot()},
                      GoldenCase{"presets_test_MAP.bat", {"leaks", "copy_bsp"}, testMAP()},
                      GoldenCase{"presets_blanks_umlauts_cp850.bat",
                                 {"fastcompile", "copy_bsp", "start_hl_check"},
                                 blanksAndUmlauts("D:\\Karten für HL\\Bjørn"),
                                 850},
                      GoldenCase{"presets_blanks_umlauts_cp437.bat",
                                 {"fastcompile", "copy_bsp", "start_hl_check"},
                                 blanksAndUmlauts("D:\\Karten für HL\\Brücke"),
                                 437},
                      GoldenCase{"presets_cmd_characters.bat",
                                 {"leaks", "copy_bsp", "start_hl_check"},
                                 commandCharacters()}),
    [](const ::testing::TestParamInfo<GoldenCase> &info) {
        std::string name = std::to_string(info.index) + "_" + info.param.golden;
        for (char &ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

TEST_F(PresetsTest, AModAtADriveRootLeavesTheModListAtThatDrivesCurrentDirectory)
{
    presets &w = open(modAtDriveRoot());
    w.start_hl_check.setState(CheckBox::Checked);
    w.compile_presets.click();
    EXPECT_EQ(app.windows.hlMod().MODDir.path(), "C:\\Work");
}

TEST_F(PresetsTest, ACharacterTheConsoleCannotShowNamesTheFieldAndStopsEverything)
{
    app.launcher.codePage = 437;
    presets &w = open(blanksAndUmlauts("D:\\Karten für HL\\Bjørn"));
    w.leaks.setState(CheckBox::Checked);
    w.compile_presets.click();
    expectOneError("Das Feld \"Verzeichnis der .map-Datei\" (\"D:\\Karten für HL\\Bjørn\") "
                   "enthält das Zeichen \"ø\", das die Eingabeaufforderung in ihrer Codepage 437 "
                   "nicht darstellen kann; sie würde einen anderen Pfad lesen. compile.bat wurde "
                   "darum nicht geschrieben und nichts gestartet. Bitte wählen Sie einen Pfad "
                   "ohne dieses Zeichen.");
    expectNothingWrittenOrStarted();
}

TEST_F(PresetsTest, AFieldTheScriptDoesNotUseMayHoldAnyCharacter)
{
    app.launcher.codePage = 437;
    Paths paths;
    paths.mod = "C:\\Half-Life\\Bjørn";
    presets &w = open(paths);
    w.leaks.setState(CheckBox::Checked);
    w.compile_presets.click();
    EXPECT_TRUE(app.messages.shown.empty());
    EXPECT_TRUE(matchesGolden("presets_leaks.bat", script()));
}

TEST_F(PresetsTest, ALineBreakFromAnEditedStoreNeverReachesTheScript)
{
    presets &w = open();
    w.leaks.setState(CheckBox::Checked);
    // A directory list only ever holds real places, so the break comes from a stored name.
    app.files.addFile("C:\\maps\\test.map\r\nformat c:.map");
    app.windows.startWindow().MAPFile.setPattern("*.map");
    app.windows.startWindow().MAPFile.choose("test.map\r\nformat c:.map");
    w.compile_presets.click();
    expectOneError("Das Feld \".map-Datei\" enthält einen Zeilenumbruch oder ein anderes "
                   "Steuerzeichen, das die Zeilen des Skripts zerteilen würde. compile.bat wurde "
                   "darum nicht geschrieben und nichts gestartet.");
    expectNothingWrittenOrStarted();
}

TEST_F(PresetsTest, AReadOnlyProgramDirectorySendsTheScriptToTheUsersDataDirectory)
{
    app.writer.failingDirectories.emplace(
        "C:\\Programme\\Kelvane",
        Failure{"Die Datei \"C:\\Programme\\Kelvane\\compile.bat\" konnte nicht geschrieben "
                "werden: Keine Berechtigung."});
    presets &w = open();
    w.leaks.setState(CheckBox::Checked);
    w.compile_presets.click();
    EXPECT_TRUE(app.messages.shown.empty());
    const std::string elsewhere = "C:\\Users\\me\\AppData\\Local\\Kelvane\\compile.bat";
    ASSERT_TRUE(app.writer.written.contains(elsewhere));
    EXPECT_TRUE(matchesGolden("presets_leaks.bat", app.writer.written[elsewhere]));
    EXPECT_EQ(app.launcher.started, std::vector<std::string>{elsewhere});
    EXPECT_TRUE(app.host.quitCalled);
}

TEST_F(PresetsTest, AScriptThatCannotBeWrittenAnywhereStartsNothing)
{
    app.writer.failingDirectories.emplace(
        "C:\\Programme\\Kelvane",
        Failure{"Die Datei \"C:\\Programme\\Kelvane\\compile.bat\" konnte nicht geschrieben "
                "werden: Keine Berechtigung."});
    app.writer.failingDirectories.emplace(
        "C:\\Users\\me\\AppData\\Local\\Kelvane",
        Failure{"Die Datei \"C:\\Users\\me\\AppData\\Local\\Kelvane\\compile.bat\" konnte nicht "
                "geschrieben werden: Kein Platz mehr auf dem Gerät."});
    presets &w = open();
    w.compile_presets.click();
    expectOneError("compile.bat konnte weder im Programmverzeichnis noch in Ihrem "
                   "Benutzerverzeichnis geschrieben werden; es wurde nichts gestartet.\r\n"
                   "Die Datei \"C:\\Programme\\Kelvane\\compile.bat\" konnte nicht geschrieben "
                   "werden: Keine Berechtigung.\r\n"
                   "Die Datei \"C:\\Users\\me\\AppData\\Local\\Kelvane\\compile.bat\" konnte nicht "
                   "geschrieben werden: Kein Platz mehr auf dem Gerät.");
    expectNothingWrittenOrStarted();
}

TEST_F(PresetsTest, AScriptThatCannotBeStartedKeepsTheProgramOpen)
{
    app.launcher.failure = Failure{"Wine wurde nicht gefunden."};
    presets &w = open();
    w.leaks.setState(CheckBox::Checked);
    w.compile_presets.click();
    expectOneError("compile.bat wurde als \"C:\\Programme\\Kelvane\\compile.bat\" geschrieben, "
                   "konnte aber nicht gestartet werden.\r\nWine wurde nicht gefunden.");
    EXPECT_TRUE(matchesGolden("presets_leaks.bat", script()));
    EXPECT_FALSE(app.host.quitCalled);
    EXPECT_FALSE(app.windows.hasEnded());
    EXPECT_TRUE(app.host.isVisible(WindowId::presets));
}

TEST_F(PresetsTest, ReadsAHalfLifeWindowThatWasNeverShownFromItsStoredValues)
{
    app.files.addDirectory("C:\\Games\\HL\\valve");
    app.stored("Hlmod", "hllw", "c: [fake]");
    app.stored("Hlmod", "hlpath", "C:\\Games\\HL");
    app.stored("Hlmod", "modlw", "c: [fake]");
    app.stored("Hlmod", "modpath", "C:\\Games\\HL\\valve");
    app.files.addDirectory("C:\\ZHLT");
    app.files.addFile("C:\\maps\\test.map");
    app.windows.start();
    start_window &start = app.windows.startWindow();
    ASSERT_FALSE(start.ZHLTDir.setPath("C:\\ZHLT"));
    ASSERT_FALSE(start.MAPDir.setPath("C:\\maps"));
    start.MAPFile.choose("test.map");
    start.step_next_8.click();
    ASSERT_FALSE(app.windows.isLoaded(WindowId::HL_MOD));

    presets &w = app.windows.presetsWindow();
    w.start_hl_check.setState(CheckBox::Checked);
    w.compile_presets.click();
    EXPECT_NE(script().find("\r\n\"C:\\Games\\HL\\hl.exe\" -console -game valve\r\n"),
              std::string::npos)
        << testing::visible(script());
    EXPECT_FALSE(app.host.isVisible(WindowId::HL_MOD)) << "loaded, not shown";
}

} // namespace
} // namespace kelvane

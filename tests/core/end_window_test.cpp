#include "app/start_window.h"
#include "script/end_window.h"
#include "script/hl_mod.h"
#include "support/compile_app.h"
#include "support/golden.h"
#include "toolwindows/tool_window.h"

#include <gtest/gtest.h>
#include <sstream>

namespace kelvane {
namespace {

using testing::error;
using testing::golden;
using testing::information;
using testing::ShownMessage;

constexpr const char *kScriptPath = "C:\\Programme\\Kelvane\\compile.bat";

using testing::Paths;

// What the user does before the click: the compilers on the start window, the boxes ticked
// and values typed on the tool windows they visit, and the after-compile boxes.
struct Walk
{
    std::string compilers; // "csg bsp …", the start window's boxes without "use_"
    // Per tool window visited: the boxes to tick and the texts to type.
    std::vector<std::pair<WindowId, std::string>> visits = {};
    std::vector<std::pair<std::string, std::string>> typed = {}; // on the last visit
    std::string after = {};                                      // end window boxes
};

struct EndApp : testing::CompileApp
{
    end_window &walk(const Walk &walk, const Paths &paths = {})
    {
        start_window &start = choosePlaces(paths);
        std::istringstream compilers(walk.compilers);
        for (std::string name; compilers >> name;)
            static_cast<CheckBox *>(start.control("use_" + name))->setState(CheckBox::Checked);
        Window *at = &start;
        for (const auto &[id, boxes] : walk.visits) {
            windows.navigate(*at, id);
            auto &tool = static_cast<ToolWindow &>(windows.window(id));
            EXPECT_EQ(windows.current(), &tool);
            std::istringstream names(boxes);
            for (std::string name; names >> name;)
                tool.box(name).setState(tool.box(name).isChecked() ? CheckBox::Unchecked
                                                                   : CheckBox::Checked);
            if (&walk.visits.back().first == &id)
                for (const auto &[field, text] : walk.typed)
                    tool.field(field).setText(text);
            at = &tool;
        }
        windows.navigate(*at, WindowId::end_window);
        end_window &end = windows.endWindow();
        EXPECT_EQ(windows.current(), &end);
        std::istringstream after(walk.after);
        for (std::string name; after >> name;)
            static_cast<CheckBox *>(end.control(name))->setState(CheckBox::Checked);
        messages.shown.clear();
        return end;
    }

    std::string script() { return writer.written[kScriptPath]; }
};

constexpr WindowId CSG = WindowId::CSG_Optionen;
constexpr WindowId BSP = WindowId::BSP_Optionen;
constexpr WindowId VIS = WindowId::VIS_Optionen;
constexpr WindowId NETVIS = WindowId::NETVIS_Optionen;
constexpr WindowId RAD = WindowId::RAD_Optionen;

TEST(EndWindowTest, WritesTheElevenLinesStartsThemAndStaysOpen)
{
    const struct
    {
        std::string file;
        Walk walk;
        Paths paths = {};
        bool storedBefore = false; // CSG and VIS have values of an earlier run
    } rows[] = {
        // clang-format off
        {"end_all_but_vis.bat", {"csg bsp netvis rad",
          {{CSG, "csg_estimate"}, {BSP, "bsp_estimate"}, {NETVIS, "netvisserver"},
           {RAD, "rad_estimate lights"}},
          {{"lights_value", "a.rad b.rad"}}, "copy_bsp start_hl_check exit_win"}},
        {"end_drive_roots.bat",
         {"csg rad", {{CSG, ""}, {RAD, ""}}, {}, "copy_bsp start_hl_check exit_win"},
         {"D:\\", "E:\\", "test.map", "F:\\", "G:\\"}},
        // Typed text reaches the compiler as typed; quoted parts stay quoted.
        {"end_typed_characters.bat", {"rad", {{RAD, "lights chop"}},
          {{"lights_value", "\"my lights & more.rad\" 50%.rad a|b>c"}, {"chop_value", "^64"}}}},
        // Tool windows the user has not left in this run: their stored values give the line.
        {"end_windows_not_left.bat", {"csg bsp vis rad"}, {}, true},
        // clang-format on
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.file);
        EndApp app;
        if (row.storedBefore) {
            app.stored("Csg", "noclip", "1");
            app.stored("Vis", "fast", "1");
        }
        end_window &end = app.walk(row.walk, row.paths);
        end.start_compile.click();
        EXPECT_EQ(app.messages.shown, std::vector<ShownMessage>{});
        EXPECT_EQ(app.script(), golden(row.file));
        EXPECT_EQ(app.launcher.started, std::vector<std::string>{kScriptPath});
        EXPECT_FALSE(app.host.quitCalled);
        EXPECT_TRUE(app.windows.current() == &end && app.host.isVisible(WindowId::end_window));
    }
}

// No map and a failed start are the presets' rows; both windows share the script's checks.
TEST(EndWindowTest, EveryFailureTellsWhyWritesAndStartsNothingAndKeepsTheProgramOpen)
{
    const std::string nothingDone =
        " compile.bat wurde darum nicht geschrieben und nichts gestartet.";
    const std::string longName(250, 'x');
    const struct
    {
        std::string message;
        Walk walk = {"csg", {{CSG, ""}}};
        Paths paths = {};
        unsigned codePage = 850;
    } rows[] = {
        {.message = "Das Feld \"RAD-Optionen\" (\"  -bounce 10 -smooth 80 -lights Bjørn.rad \") "
                    "enthält das Zeichen \"ø\", das die Eingabeaufforderung in ihrer Codepage 437 "
                    "nicht darstellen kann; der Compiler bekäme einen anderen Wert." +
                    nothingDone + " Bitte geben Sie den Wert ohne dieses Zeichen ein.",
         .walk = {"rad", {{RAD, "lights"}}, {{"lights_value", "Bjørn.rad"}}},
         .codePage = 437},
        {.message = "Der Pfad \"C:\\maps\\" + longName +
                    "\\test.map\" ist als Windows-Pfad 267 Zeichen lang; Windows-Programme und "
                    "die Eingabeaufforderung finden nur Pfade bis 259 Zeichen." +
                    nothingDone + " Bitte wählen Sie kürzere Verzeichnis- oder Dateinamen.",
         .paths = {.mapDirectory = "C:\\maps\\" + longName}},
        {.message =
             "Zeile 7 von compile.bat wäre 8270 Zeichen lang; die Eingabeaufforderung liest "
             "nur 8191 Zeichen einer Zeile und würde den Rest als eigenen Befehl ausführen." +
             nothingDone,
         .walk = {"rad", {{RAD, "lights"}}, {{"lights_value", std::string(8200, 'l')}}}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.message);
        EndApp app;
        app.launcher.codePage = row.codePage;
        end_window &end = app.walk(row.walk, row.paths);
        end.copy_bsp.setState(CheckBox::Checked);
        end.start_compile.click();
        EXPECT_EQ(app.messages.shown, std::vector<ShownMessage>{error(row.message)});
        EXPECT_EQ(app.read("End", "copy"), "1") << "saved first";
        EXPECT_TRUE(app.writer.written.empty());
        EXPECT_TRUE(app.launcher.started.empty());
        EXPECT_FALSE(app.host.quitCalled);
        EXPECT_EQ(app.windows.current(), &end);
    }
}

// A tool window not left in this run is read from the store: a refusal shows it with its
// message.
TEST(EndWindowTest, AWindowNotLeftIsCheckedFromItsStoredValues)
{
    EndApp app;
    app.stored("Rad", "high", "1");
    app.stored("Rad", "low", "1");
    end_window &end = app.walk({"csg rad", {{CSG, ""}}});
    end.start_compile.click();
    EXPECT_EQ(app.messages.shown, std::vector<ShownMessage>{error(
                                      "High und low können nicht gleichzeitig verwendet werden")});
    EXPECT_TRUE(app.writer.written.empty() && app.launcher.started.empty());
    EXPECT_EQ(app.windows.current(), &app.windows.window(RAD));
    EXPECT_TRUE(app.host.isVisible(RAD) && !app.host.isVisible(WindowId::end_window));
}

TEST(EndWindowTest, ASecondClickReadsTheWindowsAgainAndReplacesTheScriptWhole)
{
    EndApp app;
    end_window &end = app.walk({"csg rad", {{CSG, "csg_estimate"}, {RAD, ""}}});
    end.copy_bsp.setState(CheckBox::Checked);
    end.start_compile.click();
    app.windows.startWindow().use_rad.setState(CheckBox::Unchecked);
    end.copy_bsp.setState(CheckBox::Unchecked);
    end.start_compile.click();
    EXPECT_EQ(app.script().find("HLRAD.EXE"), std::string::npos) << app.script();
    EXPECT_EQ(app.launcher.started.size(), 2u);
    EXPECT_EQ(end.radbox.text(), "echo RAD wird nicht verwendet...");
}

TEST(EndWindowTest, RestoresItsBoxesMovesWithoutChecksAndSaysWhenNothingOpens)
{
    EndApp app;
    app.stored("End", "halflife", "1");
    app.stored("End", "shutdown", "1");
    end_window &end = app.walk({"csg", {{CSG, ""}}});
    EXPECT_TRUE(end.start_hl_check.isChecked() && end.exit_win.isChecked());
    app.opener.failure = Failure{"Das Programm \"xdg-open\" wurde nicht gefunden."};
    end.email.click();
    EXPECT_EQ(app.messages.shown, std::vector<ShownMessage>{information(
                                      "Das Programm \"xdg-open\" wurde nicht gefunden.")});
    // The start window's checks do not run: no compiler chosen there is no concern here.
    app.windows.startWindow().use_csg.setState(CheckBox::Unchecked);
    end.exit_win.setState(CheckBox::Unchecked);
    app.messages.shown.clear();
    end.activateMenuItem("zhltmap");
    EXPECT_EQ(app.read("End", "shutdown"), "0");
    EXPECT_EQ(app.windows.current(), &app.windows.startWindow());
    EXPECT_TRUE(app.messages.shown.empty());
}

} // namespace
} // namespace kelvane

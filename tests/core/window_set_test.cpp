#include "app/start_window.h"
#include "app/window_set.h"
#include "info/about.h"
#include "script/hl_mod.h"
#include "support/fakes.h"
#include "toolwindows/bsp_optionen.h"
#include "toolwindows/csg_optionen.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using testing::TestApp;

constexpr const char *kNoCompiler = "Sie haben keinen Compiler ausgewählt.";
constexpr const char *kVisAndNetvis = "Sie können nicht gleichzeitig VIS und NETVIS benutzen.";

class WindowSetTest : public ::testing::Test
{
protected:
    // A second start: the start window's key exists, so no first-start notes.
    void storedStart()
    {
        app.stored("Start", "csg", "0");
        app.stored("Start", "zhltpath", "C:\\");
    }

    start_window &startUp()
    {
        app.windows.start();
        app.messages.shown.clear();
        return app.windows.startWindow();
    }

    TestApp app;
};

TEST_F(WindowSetTest, StartsWithTheStartWindowAloneAndLoadsNothingElse)
{
    storedStart();
    app.windows.start();
    EXPECT_EQ(app.host.events, (std::vector<std::string>{"show start_window"}));
    for (WindowId id : kAllWindows)
        EXPECT_EQ(app.windows.isLoaded(id), id == WindowId::start_window) << windowName(id);
}

// Every way out of the start window: both buttons and every menu target.
std::vector<std::pair<std::string, bool>> startWindowExits()
{
    return {{"step_next1", true}, {"step_next_8", true}, {"pre", false},
            {"hlmod", false},     {"csg", false},        {"bsp", false},
            {"vis", false},       {"netvis", false},     {"rad", false},
            {"kompilieren", false}};
}

void leaveBy(Window &w, const std::pair<std::string, bool> &how)
{
    if (how.second)
        static_cast<Button *>(w.control(how.first))->click();
    else
        w.activateMenuItem(how.first);
}

TEST_F(WindowSetTest, FirstStartRefusesEveryWayOutUntilACompilerIsChosen)
{
    start_window &start = startUp();
    for (const auto &how : startWindowExits()) {
        app.messages.shown.clear();
        leaveBy(start, how);
        ASSERT_EQ(app.messages.shown.size(), 1u) << how.first;
        EXPECT_EQ(app.messages.shown[0].text, kNoCompiler);
        EXPECT_EQ(app.messages.shown[0].title, "Fehler!!!");
        EXPECT_EQ(app.messages.shown[0].icon, MessageIcon::Critical);
        EXPECT_EQ(app.windows.current(), &start);
        EXPECT_FALSE(app.keyExists("Start")) << "a refused step saves nothing";
    }
}

TEST_F(WindowSetTest, VisWithNetvisRefusesEveryWayOutButExitSavesBoth)
{
    start_window &start = startUp();
    start.use_vis.setState(1);
    start.use_netvis.setState(1);
    for (const auto &how : startWindowExits()) {
        app.messages.shown.clear();
        leaveBy(start, how);
        ASSERT_EQ(app.messages.texts(), std::vector<std::string>{kVisAndNetvis}) << how.first;
        EXPECT_TRUE(app.host.isVisible(WindowId::start_window));
    }
    start.activateMenuItem("exit");
    EXPECT_TRUE(app.host.quitCalled);
    EXPECT_EQ(app.read("Start", "vis"), "1");
    EXPECT_EQ(app.read("Start", "netvis"), "1");
}

TEST_F(WindowSetTest, OnlyTheFirstFailingCheckIsReported)
{
    start_window &start = startUp();
    start.use_vis.setState(2); // grey counts as not chosen
    start.step_next1.click();
    EXPECT_EQ(app.messages.texts(), std::vector<std::string>{kNoCompiler});
}

TEST_F(WindowSetTest, LeavingTheStartWindowSavesThenShowsTargetThenHides)
{
    storedStart();
    start_window &start = startUp();
    start.use_csg.setState(1);
    app.host.events.clear();
    start.step_next1.click();
    EXPECT_EQ(app.host.events,
              (std::vector<std::string>{"show HL_MOD", "hide start_window"}));
    EXPECT_EQ(app.read("Start", "csg"), "1");
    EXPECT_EQ(app.windows.current(), &app.windows.hlMod());
}

TEST_F(WindowSetTest, NextStepButtonsLeadAlongTheWizard)
{
    struct Step
    {
        WindowId from;
        const char *button;
        WindowId to;
    };
    const Step steps[] = {
        {WindowId::start_window, "step_next1", WindowId::HL_MOD},
        {WindowId::start_window, "step_next_8", WindowId::presets},
        {WindowId::HL_MOD, "step_next6", WindowId::CSG_Optionen},
        {WindowId::CSG_Optionen, "step_next2", WindowId::BSP_Optionen},
        {WindowId::BSP_Optionen, "step_next3", WindowId::VIS_Optionen},
        {WindowId::BSP_Optionen, "step_next6", WindowId::NETVIS_Optionen},
        {WindowId::VIS_Optionen, "step_next4", WindowId::RAD_Optionen},
        {WindowId::VIS_Optionen, "step_next7", WindowId::NETVIS_Optionen},
        {WindowId::NETVIS_Optionen, "step_next5", WindowId::RAD_Optionen},
        {WindowId::RAD_Optionen, "compile", WindowId::end_window},
    };
    storedStart();
    startUp().use_rad.setState(1);
    for (const Step &step : steps) {
        Window &from = app.windows.window(step.from);
        auto *button = dynamic_cast<Button *>(from.control(step.button));
        ASSERT_NE(button, nullptr) << step.button;
        button->click();
        EXPECT_EQ(app.windows.current(), &app.windows.window(step.to)) << step.button;
        EXPECT_FALSE(app.host.isVisible(step.from));
        EXPECT_TRUE(app.host.isVisible(step.to));
    }
    EXPECT_TRUE(app.messages.shown.empty());
}

TEST_F(WindowSetTest, MenuTargetsAreTheSameOnEveryWindow)
{
    storedStart();
    startUp().use_csg.setState(1);
    const std::pair<const char *, WindowId> targets[] = {
        {"zhltmap", WindowId::start_window}, {"pre", WindowId::presets},
        {"hlmod", WindowId::HL_MOD},         {"csg", WindowId::CSG_Optionen},
        {"bsp", WindowId::BSP_Optionen},     {"vis", WindowId::VIS_Optionen},
        {"netvis", WindowId::NETVIS_Optionen}, {"rad", WindowId::RAD_Optionen},
    };
    for (WindowId from : kAllWindows) {
        if (from == WindowId::About)
            continue;
        for (const auto &[itemName, to] : targets) {
            if (from == to)
                continue;
            Window &w = app.windows.window(from);
            app.windows.navigate(*app.windows.current(), from);
            ASSERT_EQ(app.windows.current(), &w);
            std::string name = itemName;
            w.activateMenuItem(name);
            EXPECT_EQ(app.windows.current(), &app.windows.window(to))
                << windowName(from) << " " << name;
        }
    }
}

TEST_F(WindowSetTest, OwnMenuItemDoesNothing)
{
    storedStart();
    start_window &start = startUp();
    app.host.events.clear();
    start.activateMenuItem("zhltmap");
    EXPECT_TRUE(app.host.events.empty());
    EXPECT_TRUE(app.messages.shown.empty());
}

TEST_F(WindowSetTest, ExitSavesOnlyTheCurrentWindowAndEnds)
{
    storedStart();
    start_window &start = startUp();
    start.use_bsp.setState(1);
    start.activateMenuItem("exit");
    EXPECT_TRUE(app.host.quitCalled);
    EXPECT_TRUE(app.windows.hasEnded());
    EXPECT_EQ(app.read("Start", "bsp"), "1");
    EXPECT_FALSE(app.keyExists("Hlmod"));
}

TEST_F(WindowSetTest, ExitOnAWindowNamedQuit)
{
    storedStart();
    startUp().use_csg.setState(1);
    app.windows.startWindow().step_next_8.click();
    Window &presetsWindow = app.windows.window(WindowId::presets);
    presetsWindow.activateMenuItem("exit"); // not its name there
    EXPECT_FALSE(app.host.quitCalled);
    presetsWindow.activateMenuItem("quit");
    EXPECT_TRUE(app.host.quitCalled);
}

TEST_F(WindowSetTest, AboutOpensBesideTheCurrentWindowWithoutSaving)
{
    storedStart();
    start_window &start = startUp();
    start.use_csg.setState(1);
    start.activateMenuItem("aboutmenu");
    EXPECT_TRUE(app.host.isVisible(WindowId::start_window));
    EXPECT_TRUE(app.host.isVisible(WindowId::About));
    EXPECT_EQ(app.read("Start", "csg"), "0");
    EXPECT_EQ(app.windows.current(), &start);

    auto &about = static_cast<About &>(app.windows.window(WindowId::About));
    about.cmdOK.click();
    EXPECT_FALSE(app.host.isVisible(WindowId::About));
    EXPECT_FALSE(app.windows.isLoaded(WindowId::About));
    start.activateMenuItem("aboutmenu");
    EXPECT_TRUE(app.host.isVisible(WindowId::About));
}

TEST_F(WindowSetTest, ClosingAWorkingWindowEndsWithoutSaving)
{
    storedStart();
    start_window &start = startUp();
    start.use_csg.setState(1);
    app.windows.closedByUser(start);
    EXPECT_TRUE(app.host.quitCalled);
    EXPECT_EQ(app.read("Start", "csg"), "0");
}

TEST_F(WindowSetTest, HiddenWindowsKeepTheirStateAndLoadOnce)
{
    storedStart();
    app.stored("Csg", "chart", "1");
    start_window &start = startUp();
    start.use_csg.setState(1);
    start.activateMenuItem("csg");
    app.windows.csg().activateMenuItem("zhltmap");
    start.use_bsp.setState(1); // not saved, but kept while hidden
    start.activateMenuItem("csg");
    app.stored("Start", "bsp", "0");
    app.windows.csg().activateMenuItem("zhltmap");
    EXPECT_TRUE(start.use_bsp.isChecked());
}

TEST_F(WindowSetTest, WindowsThatOnlyAreReadLoadButStayHidden)
{
    storedStart();
    startUp();
    Window &csg = app.windows.window(WindowId::CSG_Optionen);
    EXPECT_TRUE(csg.isLoaded());
    EXPECT_FALSE(app.host.isVisible(WindowId::CSG_Optionen));
}

TEST_F(WindowSetTest, HlModPresetsAndEndWindowOnlySaveWhenLeft)
{
    storedStart();
    startUp().use_csg.setState(1);
    for (WindowId id : {WindowId::HL_MOD, WindowId::presets, WindowId::end_window}) {
        app.windows.navigate(*app.windows.current(), id);
        app.windows.current()->activateMenuItem("bsp");
        EXPECT_EQ(app.windows.current(), &app.windows.bsp()) << windowName(id);
    }
    EXPECT_TRUE(app.messages.shown.empty());
}

TEST_F(WindowSetTest, MenuDisablesTheOwnItemAndKeepsEachWindowsNames)
{
    struct Row
    {
        WindowId window;
        const char *disabled;
        std::vector<std::pair<std::string, std::string>> items; // name, caption
    };
    const Row rows[] = {
        {WindowId::start_window, "zhltmap",
         {{"auswahl", "&Auswahl"}, {"optionen", "Compiler-&Optionen"},
          {"kompilieren", "&Kompilieren!"}, {"exit", "Programm b&eenden"}, {"aboutmenu", "&?"}}},
        {WindowId::HL_MOD, "hlmod",
         {{"auswahl", "&Auswahl"}, {"options", "&Compiler-Optionen"},
          {"compile", "&Kompilieren!"}, {"exit", "Programm b&eenden"}, {"aboutmenu", "&?"}}},
        {WindowId::CSG_Optionen, "csg",
         {{"auswah", "&Auswahl"}, {"optionen", "Compiler-&Optionen"},
          {"kompilieren", "&Kompilieren!"}, {"exit", "Programm b&eenden"}, {"aboutmenu", "&?"}}},
        {WindowId::BSP_Optionen, "bsp",
         {{"auswahl", "&Auswahl"}, {"optionen", "Compiler-&Optionen"},
          {"kompilieren", "&Kompilieren!"}, {"exit", "Programm b&eenden"}, {"aboutmenu", "&?"}}},
        {WindowId::VIS_Optionen, "vis",
         {{"auswahl", "&Auswahl"}, {"optionen", "Compiler-&Optionen"},
          {"kompilieren", "&Kompilieren!"}, {"exit", "Programm b&eenden"}, {"aboutmenu", "&?"}}},
        {WindowId::NETVIS_Optionen, "netvis",
         {{"auswahl", "&Auswahl"}, {"options", "Compiler-&Optionen"},
          {"compile", "&Kompilieren!"}, {"quit", "Programm b&eenden"}, {"aboutmenu", "&?"}}},
        {WindowId::RAD_Optionen, "rad",
         {{"auswahl", "&Auswahl"}, {"optionen", "Compiler-&Optionen"},
          {"kompilieren", "&Kompilieren!"}, {"exit", "&Programm beenden"}, {"aboutmenu", "&?"}}},
        {WindowId::end_window, "kompilieren",
         {{"auswahl", "&Auswahl"}, {"optionen", "&Compiler-Optionen"},
          {"kompilieren", "&Kompilieren!"}, {"exit", "Programm b&eenden"}, {"aboutmenu", "&?"}}},
        {WindowId::presets, "pre",
         {{"auswahl", "&Auswahl"}, {"optionen", "Compiler-&Optionen"},
          {"kompilieren", "&Kompilieren!"}, {"quit", "Programm b&eenden"}, {"aboutmenu", "&?"}}},
    };
    for (const Row &row : rows) {
        const auto menu = standardMenu(row.window);
        ASSERT_EQ(menu.size(), row.items.size());
        for (std::size_t i = 0; i < menu.size(); ++i) {
            EXPECT_EQ(menu[i].name, row.items[i].first) << windowName(row.window);
            EXPECT_EQ(menu[i].caption, row.items[i].second) << windowName(row.window);
        }
        std::vector<std::string> subItems;
        for (const auto &top : menu)
            for (const auto &sub : top.children)
                subItems.push_back(sub.name + "=" + sub.caption);
        const std::string zhltmap = row.window == WindowId::NETVIS_Optionen
                                        ? "&ZHLT und .MAP Verzeichnis"
                                    : row.window == WindowId::presets
                                        ? "&ZHLT-Verzeichnis und .MAP-Datei"
                                        : "&ZHLT-Verzeichnis und .MAP";
        const std::string pre = row.window == WindowId::end_window ? "Presets" : "&Presets";
        EXPECT_EQ(subItems, (std::vector<std::string>{
                                "zhltmap=" + zhltmap, "pre=" + pre, "hlmod=&Half-Life und MOD",
                                "csg=&CSG", "bsp=&BSP", "vis=&VIS", "netvis=&NETVIS", "rad=&RAD"}))
            << windowName(row.window);
        int disabled = 0;
        std::function<void(const std::vector<MenuItem> &)> count =
            [&](const std::vector<MenuItem> &items) {
                for (const auto &item : items) {
                    if (!item.enabled) {
                        ++disabled;
                        EXPECT_EQ(item.name, row.disabled);
                    }
                    count(item.children);
                }
            };
        count(menu);
        EXPECT_EQ(disabled, 1) << windowName(row.window);
    }
}

} // namespace
} // namespace kelvane

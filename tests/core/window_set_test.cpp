#include "app/start_window.h"
#include "app/window_set.h"
#include "support/fakes.h"
#include "toolwindows/tool_window.h"

#include <cctype>
#include <functional>
#include <gtest/gtest.h>
#include <tuple>

namespace kelvane {
namespace {

using testing::error;
using testing::ShownMessage;
using testing::TestApp;

class WindowSetTest : public ::testing::Test
{
protected:
    // A second start: the start window's key exists, so no first-start notes.
    start_window &startUp(bool storedBefore = true)
    {
        if (storedBefore) {
            app.stored("Start", "csg", "0");
            app.stored("Start", "zhltpath", "C:\\");
        }
        app.windows.start();
        app.messages.shown.clear();
        return app.windows.startWindow();
    }

    TestApp app;
};

// Every way out goes through the same checks: both buttons and the menu.
TEST_F(WindowSetTest, FirstStartRefusesEveryWayOutAndSavesNothingUntilACompilerIsChosen)
{
    start_window &start = startUp(false);
    start.use_vis.setState(CheckBox::Grey); // grey counts as not chosen
    for (const char *way : {"step_next1", "step_next_8", "pre", "rad", "kompilieren"}) {
        app.messages.shown.clear();
        if (auto *button = dynamic_cast<Button *>(start.control(way)))
            button->click();
        else
            start.activateMenuItem(way);
        EXPECT_EQ(app.messages.shown,
                  std::vector<ShownMessage>{error("Sie haben keinen Compiler ausgewählt.")})
            << way;
        EXPECT_EQ(app.windows.current(), &start);
        EXPECT_TRUE(app.host.isVisible(WindowId::start_window));
    }
    EXPECT_FALSE(app.keyExists("Start")) << "a refused step saves nothing";
}

// Exit saves only the current window, even one whose checks refuse every step.
TEST_F(WindowSetTest, VisWithNetvisIsRefusedButExitSavesTheCurrentWindowAlone)
{
    start_window &start = startUp();
    start.use_vis.setState(CheckBox::Checked);
    start.use_netvis.setState(CheckBox::Checked);
    start.step_next1.click();
    EXPECT_EQ(app.messages.shown, std::vector<ShownMessage>{error(
                                      "Sie können nicht gleichzeitig VIS und NETVIS benutzen.")});
    EXPECT_EQ(app.windows.current(), &start);
    EXPECT_EQ(app.read("Start", "vis"), "");
    app.windows.window(WindowId::HL_MOD); // loaded, not current
    start.activateMenuItem("exit");
    EXPECT_TRUE(app.host.quitCalled && app.windows.hasEnded());
    EXPECT_EQ(app.read("Start", "netvis"), "1");
    EXPECT_FALSE(app.keyExists("Hlmod"));
}

// Every button steps through the one navigation; these are the start window's and the last
// tool window's towards the end window.
TEST_F(WindowSetTest, NextStepButtonsSaveThenShowTheirTargetThenHideAndBuildTheLine)
{
    const std::tuple<WindowId, const char *, WindowId> steps[] = {
        {WindowId::start_window, "step_next1", WindowId::HL_MOD},
        {WindowId::RAD_Optionen, "compile", WindowId::end_window},
    };
    startUp().use_rad.setState(CheckBox::Checked);
    for (const auto &[from, button, to] : steps) {
        Window &w = app.windows.window(from);
        auto *control = dynamic_cast<Button *>(w.control(button));
        ASSERT_NE(control, nullptr) << button;
        app.host.events.clear();
        control->click();
        EXPECT_EQ(app.windows.current(), &app.windows.window(to)) << button;
        EXPECT_EQ(app.host.events,
                  (std::vector<std::string>{"show " + std::string(windowName(to)),
                                            "hide " + std::string(windowName(from))}));
        const auto *tool = dynamic_cast<ToolWindow *>(&w);
        EXPECT_TRUE(!tool || !tool->parameterLine().empty()) << "a step builds the line";
    }
    EXPECT_TRUE(app.messages.shown.empty());
    EXPECT_EQ(app.read("Start", "rad"), "1");
}

TEST_F(WindowSetTest, EachMenuDisablesOnlyTheItemOfItsOwnWindowAndKeepsItsMnemonicsApart)
{
    std::function<void(WindowId, const std::vector<MenuItem> &)> check =
        [&](WindowId window, const std::vector<MenuItem> &items) {
            std::string mnemonics;
            for (const auto &item : items) {
                EXPECT_EQ(item.enabled, item.target != window) << item.name;
                const std::size_t amp = item.caption.find('&');
                if (amp != std::string::npos) {
                    const char key = static_cast<char>(std::tolower(item.caption[amp + 1]));
                    EXPECT_EQ(mnemonics.find(key), std::string::npos) << item.caption;
                    mnemonics += key;
                }
                check(window, item.children);
            }
        };
    check(WindowId::RAD_Optionen, standardMenu(WindowId::RAD_Optionen));
    EXPECT_TRUE(standardMenu(WindowId::About).empty());
}

} // namespace
} // namespace kelvane

#include "support/fakes.h"
#include "toolwindows/tool_window.h"

#include <gtest/gtest.h>
#include <iterator>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace kelvane {
namespace {

using testing::error;
using testing::information;
using testing::ShownMessage;
using Typed = std::vector<std::pair<std::string, std::string>>; // name, text

constexpr WindowId CSG = WindowId::CSG_Optionen;
constexpr WindowId BSP = WindowId::BSP_Optionen;
constexpr WindowId VIS = WindowId::VIS_Optionen;

constexpr const char *kDev = "Der größte Wert für -dev ist 6";
constexpr const char *kBspDev = "Der höchste Wert für -dev ist 6";
constexpr const char *kSubdivide = "Der höchste Wert für -subdivide ist 240";
constexpr const char *kHighLow = "High und low können nicht gleichzeitig verwendet werden";
constexpr const char *kFastFull = "Fast und full funktionieren nicht zusammen";

std::string key(WindowId id)
{
    return id == CSG ? "Csg" : id == BSP ? "Bsp" : "Vis";
}

// A state of a window's switches: the boxes to check and the texts to type.
struct Setting
{
    WindowId window;
    std::string checked; // box names between blanks
    Typed typed = {};

    std::vector<std::string> boxes() const
    {
        std::istringstream in(checked);
        return {std::istream_iterator<std::string>(in), {}};
    }

    std::string describe() const { return key(window) + ": " + checked; }
};

struct ToolApp : testing::TestApp
{
    ToolWindow &open(WindowId id) { return static_cast<ToolWindow &>(windows.window(id)); }

    ToolWindow &apply(const Setting &setting)
    {
        ToolWindow &w = open(setting.window);
        for (const auto &box : setting.boxes())
            w.box(box).setState(CheckBox::Checked);
        for (const auto &[field, text] : setting.typed)
            w.field(field).setText(text);
        return w;
    }

    // Leaves through the menu towards the end window; true when the window was left.
    bool leave(ToolWindow &w)
    {
        host.events.clear();
        w.activateMenuItem("kompilieren");
        return !host.events.empty();
    }
};

// --- The parameter line --------------------------------------------------------------------

void expectLine(const Setting &setting, const std::string &line)
{
    SCOPED_TRACE(setting.describe());
    ToolApp app;
    ToolWindow &w = app.apply(setting);
    ASSERT_TRUE(app.leave(w));
    for (const auto &message : app.messages.shown)
        EXPECT_EQ(message.icon, MessageIcon::Information) << "only notes";
    EXPECT_EQ(w.parameterLine(), line);
}

TEST(ToolWindowLine, EachSwitchAloneAddsItsPieceWithItsFieldsStartText)
{
    // clang-format off
    const std::pair<WindowId, Typed> pieces[] = {
        {CSG, {{"csg_chart", "-chart"}, {"csg_low", "-low"}, {"csg_high", "-high"},
               {"csg_nolog", "-nolog"}, {"csg_estimate", "-estimate"}, {"csg_verbose", "-verbose"},
               {"csg_noinfo", "-noinfo"}, {"nowadtextures", "-nowadtextures"},
               {"noclip", "-noclip"}, {"onlyents", "-onlyents"}, {"noskyclip", "-noskyclip"},
               {"csg_texdata", "-texdata 4096"}, {"csg_dev", "-dev 0"},
               {"wadinclude", "-wadinclude zhlt.wad"}, {"tiny", "-tiny 0.5"},
               {"brushunion", "-brushunion 95"}}},
        {BSP, {{"bsp_chart", "-chart"}, {"bsp_low", "-low"}, {"bsp_high", "-high"},
               {"bsp_nolog", "-nolog"}, {"bsp_estimate", "-estimate"}, {"bsp_verbose", "-verbose"},
               {"bsp_noinfo", "-noinfo"}, {"leakonly", "-leakonly"}, {"notjunc", "-notjunc"},
               {"bsp_noclip", "-noclip"}, {"nofill", "-nofill"}, {"bsp_texdata", "-texdata 4096"},
               {"bsp_dev", "-dev 0"}, {"subdivide", "-subdivide 240"},
               {"maxnodesize", "-maxnodesize "}}},
        {VIS, {{"vis_chart", "-chart"}, {"vis_low", "-low"}, {"vis_high", "-high"},
               {"vis_nolog", "-nolog"}, {"vis_estimate", "-estimate"}, {"vis_verbose", "-verbose"},
               {"vis_noinfo", "-noinfo"}, {"fast", "-fast"}, {"full", "-full"},
               {"vis_texdata", "-texdata 4096"}, {"vis_dev", "-dev 0"}}},
    };
    // clang-format on
    for (const auto &[window, boxes] : pieces)
        for (const auto &[box, piece] : boxes)
            expectLine({window, box}, "  " + piece + " ");
}

TEST(ToolWindowLine, MixedSwitchesFollowTheCompilersOrderWithValuesAsTyped)
{
    const std::pair<Setting, std::string> rows[] = {
        {{CSG, "brushunion tiny wadinclude csg_dev csg_texdata noclip noskyclip nowadtextures "
               "onlyents csg_nolog csg_noinfo csg_verbose csg_low csg_estimate csg_chart"},
         "  -chart -estimate -low -verbose -noinfo -nolog -onlyents -nowadtextures -noskyclip "
         "-noclip -texdata 4096 -dev 0 -wadinclude zhlt.wad -tiny 0.5 -brushunion 95 "},
        {{CSG, "csg_texdata csg_low csg_chart"}, "  -chart -low -texdata 4096 "},
        {{CSG, "csg_texdata csg_low csg_estimate csg_chart"},
         "  -chart -estimate -low -texdata 4096 "},
        {{BSP, "nofill notjunc bsp_noclip bsp_chart"}, "  -chart -notjunc -noclip -nofill "},
        // Values go in as typed: untrimmed, unquoted, possibly empty.
        {{CSG, "wadinclude", {{"wadinclude_value", "zhlt.wad halflife.wad"}}},
         "  -wadinclude zhlt.wad halflife.wad "},
        {{CSG, "wadinclude", {{"wadinclude_value", ""}}}, "  -wadinclude  "},
        {{CSG, "tiny csg_dev", {{"tiny_value", " 1 "}, {"csg_dev_value", "-1"}}},
         "  -dev -1 -tiny  1  "},
        // An unchecked switch adds nothing, and its field is not checked either.
        {{CSG, "", {{"csg_dev_value", "9"}, {"tiny_value", "x"}}}, "  "},
        {{BSP, "maxnodesize subdivide bsp_high", {{"maxnodesize_value", "1e6"}}},
         "  -high -subdivide 240 -maxnodesize 1e6 "},
        {{BSP, "", {{"subdivide_value", "999"}}}, "  "},
        {{VIS, "vis_texdata vis_low", {{"vis_texdata_value", ""}}}, "  -low -texdata  "},
    };
    for (const auto &[setting, line] : rows)
        expectLine(setting, line);
}

// --- Checks --------------------------------------------------------------------------------

// The value name a box or field is stored under: its name without the window's prefix.
std::string storedName(WindowId id, const std::string &control)
{
    const std::string prefix = id == CSG ? "csg_" : id == BSP ? "bsp_" : "vis_";
    return control.starts_with(prefix) ? control.substr(prefix.size()) : control;
}

// A value switch alone with the text typed into its field.
Setting typed(WindowId id, const std::string &box, std::string text)
{
    return {id, box, {{box + "_value", std::move(text)}}};
}

TEST(ToolWindowChecks, ARefusalShowsOnlyTheFirstFailingCheckAfterStoringEveryValue)
{
    // clang-format off
    const std::pair<Setting, const char *> rows[] = {
        // Each limit at, just above, fractional above and non-numeric.
        {typed(CSG, "csg_dev", "6"), ""}, {typed(CSG, "csg_dev", "06"), ""},
        {typed(CSG, "csg_dev", "-1"), ""}, {typed(CSG, "csg_dev", "abc"), ""},
        {typed(CSG, "csg_dev", ""), ""}, {typed(CSG, "csg_dev", "6.5"), kDev},
        {typed(CSG, "csg_dev", "7"), kDev}, {typed(CSG, "csg_dev", "7 Kerne"), kDev},
        {typed(BSP, "bsp_dev", "6"), ""}, {typed(BSP, "bsp_dev", "6.01"), kBspDev},
        {typed(BSP, "bsp_dev", "7"), kBspDev}, {typed(BSP, "subdivide", "240"), ""},
        {typed(BSP, "subdivide", " 2.4e2"), ""}, {typed(BSP, "subdivide", "x300"), ""},
        {typed(BSP, "subdivide", "241"), kSubdivide}, {typed(BSP, "subdivide", "240.5"), kSubdivide},
        {typed(BSP, "maxnodesize", "100000"), ""}, {typed(VIS, "vis_dev", "6"), ""},
        {typed(VIS, "vis_dev", "six"), ""}, {typed(VIS, "vis_dev", "6.5"), kDev},
        {typed(VIS, "vis_dev", "7"), kDev},
        // Several failing checks, cleared one by one: each time only the first one speaks.
        {{CSG, "csg_low csg_high csg_dev", {{"csg_dev_value", "9"}}}, kHighLow},
        {{CSG, "csg_low csg_dev", {{"csg_dev_value", "9"}}}, kDev},
        {{BSP, "bsp_low bsp_high bsp_dev subdivide",
          {{"bsp_dev_value", "7"}, {"subdivide_value", "999"}}}, kHighLow},
        {{BSP, "bsp_low bsp_dev subdivide",
          {{"bsp_dev_value", "7"}, {"subdivide_value", "999"}}}, kBspDev},
        {{BSP, "bsp_low subdivide", {{"subdivide_value", "999"}}}, kSubdivide},
        {{VIS, "vis_low vis_high fast full vis_dev", {{"vis_dev_value", "9"}}}, kHighLow},
        {{VIS, "vis_low fast full vis_dev", {{"vis_dev_value", "9"}}}, kFastFull},
        {{VIS, "vis_low full vis_dev", {{"vis_dev_value", "9"}}}, kDev},
    };
    // clang-format on
    for (const auto &[setting, message] : rows) {
        SCOPED_TRACE(setting.describe());
        ToolApp app;
        ToolWindow &w = app.open(setting.window);
        ASSERT_TRUE(app.leave(w));
        const bool left = app.leave(app.apply(setting));
        if (*message == '\0') {
            EXPECT_TRUE(left);
            EXPECT_TRUE(app.messages.shown.empty());
            EXPECT_NE(w.parameterLine(), "  ");
            continue;
        }
        EXPECT_FALSE(left);
        EXPECT_EQ(app.messages.shown, std::vector<ShownMessage>{error(message)});
        EXPECT_EQ(w.parameterLine(), "  ") << "the line of the last action that passed";
        for (const auto &box : setting.boxes())
            EXPECT_EQ(app.read(key(setting.window), storedName(setting.window, box)), "1") << box;
        for (const auto &[field, text] : setting.typed)
            EXPECT_EQ(app.read(key(setting.window), storedName(setting.window, field)), text)
                << field;
    }
}

TEST(ToolWindowChecks, NotesComeWheneverTheirBoxBecomesCheckedAlsoWhileLoading)
{
    const std::pair<Setting, std::string> rows[] = {
        {{CSG, "onlyents"},
         "Bitte deaktivieren Sie alle Compiler außer CSG und BSP, da bei -onlyents nur diese "
         "gebraucht werden."},
        {{BSP, "leakonly"},
         "Bitte deaktivieren Sie alle Compiler außer CSG und BSP sowie alle anderen Optionen, da "
         "diese für den Leak-Check nicht gebraucht werden."},
    };
    for (const auto &[setting, text] : rows) {
        SCOPED_TRACE(setting.describe());
        ToolApp app;
        const std::string &box = setting.checked;
        app.stored(key(setting.window), box, "1");
        ToolWindow &w = app.open(setting.window);
        EXPECT_EQ(app.messages.shown, std::vector<ShownMessage>{information(text)});
        EXPECT_TRUE(w.box(box).isChecked()) << "the note changes nothing";

        w.box(box).setState(CheckBox::Unchecked);
        w.box(box).setState(CheckBox::Grey);
        EXPECT_EQ(app.messages.shown.size(), 1u);
        w.box(box).setState(CheckBox::Checked);
        EXPECT_EQ(app.messages.shown,
                  (std::vector<ShownMessage>{information(text), information(text)}));
    }
}

// --- Stored values and the hand-over ------------------------------------------------------

// Each window's threads box and the values it stores, in order, with their start texts.
const std::tuple<WindowId, const char *, std::string> kStartValues[] = {
    {CSG, "csg_threads",
     "chart=0|low=0|high=0|nolog=0|estimate=0|verbose=0|noinfo=0|nowadtextures=0|noclip=0|"
     "onlyents=0|noskyclip=0|texdata=0|dev=0|wadinclude=0|tiny=0|brushunion=0|texdata_value=4096|"
     "dev_value=0|wadinclude_value=zhlt.wad|tiny_value=0.5|brushunion_value=95"},
    {BSP, "bsp_threads",
     "chart=0|low=0|high=0|nolog=0|estimate=0|verbose=0|noinfo=0|leakonly=0|notjunc=0|noclip=0|"
     "nofill=0|texdata=0|dev=0|subdivide=0|maxnodesize=0|texdata_value=4096|dev_value=0|"
     "subdivide_value=240|maxnodesize_value="},
    {VIS, "vis_threads",
     "chart=0|low=0|high=0|nolog=0|estimate=0|verbose=0|noinfo=0|fast=0|full=0|texdata=0|dev=0|"
     "texdata_value=4096|dev_value=0"},
};

TEST(ToolWindowStore, FirstStartWritesTheStartValuesInOrderAndThreadsNeverCounts)
{
    for (const auto &[window, threads, values] : kStartValues) {
        SCOPED_TRACE(key(window));
        ToolApp app;
        ToolWindow &w = app.open(window);
        EXPECT_FALSE(app.keyExists(key(window)));
        EXPECT_EQ(w.box(threads).state(), CheckBox::Grey);
        EXPECT_FALSE(w.box(threads).isEnabled());
        EXPECT_EQ(w.field(std::string(threads) + "_value").text(), "1");
        EXPECT_FALSE(w.field(std::string(threads) + "_value").isEnabled());
        ASSERT_TRUE(app.leave(w));
        EXPECT_EQ(w.parameterLine(), "  ");
        EXPECT_EQ(app.written(key(window)), values);
        EXPECT_EQ(app.backend.batchesEnded(), 1);
    }
}

TEST(ToolWindowStore, AWindowOnlyLoadedHandsOverTheEmptyLineAndExitSavesWhatItRead)
{
    for (const auto &[window, threads, values] : kStartValues) {
        SCOPED_TRACE(key(window));
        ToolApp app;
        std::string stored = "chart=0"; // unchecked below
        for (const auto &[name, text] : testing::valuesOf(values)) {
            const std::string other = name.ends_with("_value") ? "v " + name : "1";
            app.stored(key(window), name, other);
            if (name != "chart")
                stored += "|" + name + "=" + other;
        }
        ToolWindow &w = app.open(window);
        auto *field = dynamic_cast<TextField *>(w.controls().back());
        ASSERT_NE(field, nullptr);
        EXPECT_TRUE(field->isHidden());
        EXPECT_EQ(w.parameterLine(), "");
        w.switches()->all().front()->box().setState(CheckBox::Unchecked);
        EXPECT_EQ(w.parameterLine(), "") << "changed but not left";
        w.activateMenuItem("exit");
        EXPECT_EQ(w.parameterLine(), "") << "exit builds nothing";
        EXPECT_EQ(app.written(key(window)), stored) << "but saves";
    }
}

} // namespace
} // namespace kelvane

#include "support/fakes.h"
#include "toolwindows/tool_window.h"

#include <gtest/gtest.h>
#include <iterator>
#include <sstream>

namespace kelvane {
namespace {

using testing::error;
using testing::information;
using testing::ShownMessage;
using Typed = std::vector<std::pair<std::string, std::string>>; // name, text

constexpr WindowId CSG = WindowId::CSG_Optionen;
constexpr WindowId BSP = WindowId::BSP_Optionen;
constexpr WindowId VIS = WindowId::VIS_Optionen;
constexpr WindowId RAD = WindowId::RAD_Optionen;
constexpr WindowId NETVIS = WindowId::NETVIS_Optionen;

constexpr const char *kDev = "Der größte Wert für -dev ist 6";
constexpr const char *kHighLow = "High und low können nicht gleichzeitig verwendet werden";
constexpr const char *kMaxlight = "Der größte Wert für -maxlight ist 999";
constexpr const char *kFalloff = "Bei -falloff sind nur die Werte 1 und 2 zulässig";
constexpr const char *kBounce =
    "Es ist nicht sinnvoll bei -bounce einen größeren Wert als 20 zu benutzen";

// A state of a window's switches: the boxes to check (between blanks) and the texts to type.
struct Setting
{
    WindowId window;
    std::string checked;
    Typed typed = {};

    std::vector<std::string> boxes() const
    {
        std::istringstream in(checked);
        return {std::istream_iterator<std::string>(in), {}};
    }
};

// A value switch alone with the text typed into its field.
Setting typed(WindowId id, const std::string &box, std::string text)
{
    return {id, box, {{box + "_value", std::move(text)}}};
}

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
        // NETVIS has always named its item "compile".
        w.activateMenuItem(findMenuItem(w.menu(), "kompilieren") ? "kompilieren" : "compile");
        return !host.events.empty();
    }
};

TEST(ToolWindowLine, PiecesFollowTheCompilersOrderWithValuesAsTyped)
{
    // clang-format off
    const std::pair<Setting, std::string> rows[] = {
        // Values go in as typed: untrimmed, unquoted, possibly empty; unchecked adds nothing.
        {{CSG, "tiny csg_dev", {{"tiny_value", " 1 "}, {"csg_dev_value", "-1"}}},
         "  -dev -1 -tiny  1  "},
        // Ticked against the compiler's order; empty values keep their blank.
        {{RAD, "lights gamma falloff texchop ambient rad_high",
          {{"lights_value", "a.rad b.rad"}, {"ambient_value", "0.2 0.3  0.4"},
           {"falloff_value", "2,5"}, {"gamma_value", ""}}},
         "  -high -bounce 10 -ambient 0.2 0.3  0.4 -smooth 80 -texchop  -falloff 2,5 -gamma  "
         "-lights a.rad b.rad "},
        // Both sets go into one line, server first; -connect and its address always last.
        {{NETVIS, "netvisclient_connect netvisclient_texdata netvisclient_high netvis_low",
          {{"netvisclient_texdata_value", "8192"}, {"netvisclient_connect_value", "10.0.0.2"}}},
         "  -low -high -texdata 8192 -connect 10.0.0.2 "},
    };
    // clang-format on
    for (const auto &[setting, line] : rows) {
        SCOPED_TRACE(setting.checked);
        ToolApp app;
        ToolWindow &w = app.apply(setting);
        ASSERT_TRUE(app.leave(w));
        EXPECT_EQ(app.messages.shown, std::vector<ShownMessage>{});
        EXPECT_EQ(w.parameterLine(), line);
    }
}

TEST(ToolWindowChecks, ARefusalShowsOnlyTheFirstFailingCheck)
{
    // clang-format off
    const std::pair<Setting, const char *> rows[] = {
        // One limit at and just above it stands for them all.
        {typed(CSG, "csg_dev", "6"), ""}, {typed(CSG, "csg_dev", "6.5"), kDev},
        // -falloff has a lower limit too, so no number is refused.
        {typed(RAD, "falloff", "1"), ""}, {typed(RAD, "falloff", ""), kFalloff},
        // Many bounces are a note after which the action goes on.
        {typed(RAD, "bounce", "20"), ""}, {typed(RAD, "bounce", "20.5"), kBounce},
        // Several failing checks: only the first one speaks.
        {{VIS, "vis_low vis_high fast full vis_dev", {{"vis_dev_value", "9"}}}, kHighLow},
        {{RAD, "maxlight smooth dscale falloff", {{"maxlight_value", "5000"},
          {"smooth_value", "500"}, {"dscale_value", "9"}, {"falloff_value", "0"}}}, kMaxlight},
        // A refusal before it silences the note on many bounces.
        {{RAD, "falloff bounce", {{"falloff_value", "0"}, {"bounce_value", "99"}}}, kFalloff},
        // NETVIS refuses a pair within one set, not across the sets.
        {{NETVIS, "netvisclient_connect netvis_high netvisclient_low"}, ""},
        {{NETVIS, "netvisclient_high netvisclient_low netvis_fast netvis_full"}, kHighLow},
        {{NETVIS, "netvisserver netvisclient_connect"},
         "Sie wollen doch nicht wirklich diesen PC als Server und Client arbeiten lassen"},
    };
    // clang-format on
    for (const auto &[setting, message] : rows) {
        SCOPED_TRACE(std::string(windowName(setting.window)) + ": " + setting.checked);
        ToolApp app;
        ToolWindow &w = app.open(setting.window);
        ASSERT_TRUE(app.leave(w));
        const std::string before = w.parameterLine();
        const bool left = app.leave(app.apply(setting));
        if (*message == '\0' || message == kBounce) {
            EXPECT_TRUE(left);
            EXPECT_EQ(app.messages.shown,
                      *message ? std::vector{information(kBounce, "Tamrin informiert")}
                               : std::vector<ShownMessage>{});
            EXPECT_NE(w.parameterLine(), before);
            continue;
        }
        EXPECT_FALSE(left);
        EXPECT_EQ(app.messages.shown, std::vector<ShownMessage>{error(message)});
        EXPECT_EQ(w.parameterLine(), before) << "the line of the last action that passed";
    }
}

TEST(ToolWindowChecks, SparseWithoutMatrixIsWordedAfterWhereTheUserGoesAndStoresFirst)
{
    ToolApp app;
    ToolWindow &w = app.apply({RAD, "sparse nomatrix", {{"smooth_value", "500"}}});
    w.activateMenuItem("bsp");
    dynamic_cast<Button &>(*w.control("compile")).click();
    EXPECT_EQ(app.messages.shown,
              (std::vector<ShownMessage>{error("Wenn die Vismatrix deaktiviert ist, braucht sie "
                                               "nicht mehr komprimiert zu werden"),
                                         error("Wenn die Vismatrix deaktiviert ist, braucht sie "
                                               "nicht mehr kompiliert zu werden")}));
    EXPECT_TRUE(app.host.events.empty()) << "stays";
    EXPECT_EQ(w.parameterLine(), "");
    EXPECT_TRUE(app.read("Rad", "sparse") == "1" && app.read("Rad", "smooth_value") == "500")
        << "a refused action stores every value first";
}

// A first start saves in one batch; a window only loaded hands over the empty line, and exit
// saves what it read. -threads never counts. CSG stands for the tool windows.
TEST(ToolWindowStore, StartValuesAndStoredValuesAreSavedAndThreadsNeverCounts)
{
    ToolApp first;
    ToolWindow &w = first.open(CSG);
    EXPECT_FALSE(first.keyExists("Csg"));
    ASSERT_TRUE(first.leave(w));
    EXPECT_EQ(w.parameterLine(), "  ");
    EXPECT_EQ(first.backend.batchesEnded(), 1);

    ToolApp app;
    for (const char *name : {"chart", "noclip", "threads"}) // an edited store cannot tick -threads
        app.stored("Csg", name, "1");
    app.stored("Csg", "tiny_value", "v 1");
    ToolWindow &loaded = app.open(CSG);
    EXPECT_EQ(loaded.box("csg_threads").state(), CheckBox::Grey);
    auto *field = dynamic_cast<TextField *>(loaded.controls().back());
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(field->isHidden());
    EXPECT_EQ(loaded.parameterLine(), "");
    loaded.box("csg_chart").setState(CheckBox::Unchecked);
    loaded.activateMenuItem("exit");
    EXPECT_EQ(loaded.parameterLine(), "") << "exit builds nothing";
    const std::string saved = "|" + app.written("Csg") + "|";
    for (const char *value : {"chart=0", "noclip=1", "tiny_value=v 1", "tiny=0"})
        EXPECT_NE(saved.find("|" + std::string(value) + "|"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("threads"), std::string::npos) << saved;
}

} // namespace
} // namespace kelvane

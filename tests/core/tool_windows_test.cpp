#include "support/fakes.h"
#include "toolwindows/bsp_optionen.h"
#include "toolwindows/csg_optionen.h"
#include "toolwindows/vis_optionen.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace kelvane {
namespace {

using testing::TestApp;
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
    std::vector<std::string> checked;
    Typed typed = {};
};

void PrintTo(const Setting &setting, std::ostream *out)
{
    *out << key(setting.window) << ':';
    for (const auto &box : setting.checked)
        *out << ' ' << box;
    for (const auto &[field, text] : setting.typed)
        *out << ' ' << field << "=\"" << text << '"';
}

class ToolWindowTest : public ::testing::Test
{
protected:
    ToolWindow &open(WindowId id) { return static_cast<ToolWindow &>(app.windows.window(id)); }

    ToolWindow &apply(const Setting &setting)
    {
        ToolWindow &w = open(setting.window);
        for (const auto &box : setting.checked)
            w.box(box).setState(CheckBox::Checked);
        for (const auto &[field, text] : setting.typed)
            w.field(field).setText(text);
        return w;
    }

    // A navigation action away from the window, through its menu item to the end window.
    // True when the window was left.
    bool leave(ToolWindow &w)
    {
        app.host.events.clear();
        w.activateMenuItem("kompilieren");
        return !app.host.events.empty();
    }

    std::vector<std::string> written()
    {
        std::vector<std::string> names;
        for (const auto &call : app.backend.calls())
            if (call.operation == "set")
                names.push_back(call.path.substr(call.path.rfind('\\') + 1));
        return names;
    }

    TestApp app;
};

// --- The parameter line --------------------------------------------------------------------

struct LineRow
{
    Setting setting;
    std::string line;
};

void PrintTo(const LineRow &row, std::ostream *out)
{
    PrintTo(row.setting, out);
}

class ParameterLineTest : public ToolWindowTest, public ::testing::WithParamInterface<LineRow>
{
};

TEST_P(ParameterLineTest, LeavingBuildsTheLineInTheCompilersOrder)
{
    ToolWindow &w = apply(GetParam().setting);
    ASSERT_TRUE(leave(w));
    for (const auto &message : app.messages.shown)
        EXPECT_EQ(message.icon, MessageIcon::Information) << "only notes";
    EXPECT_EQ(w.parameterLine(), GetParam().line);
}

LineRow alone(WindowId id, std::string box, std::string piece)
{
    return {{id, {std::move(box)}}, "  " + piece + " "};
}

// Each switch alone gives exactly its piece, with its field's start text.
INSTANTIATE_TEST_SUITE_P(
    EachSwitchAlone, ParameterLineTest,
    ::testing::Values(
        alone(CSG, "csg_chart", "-chart"), alone(CSG, "csg_low", "-low"),
        alone(CSG, "csg_high", "-high"), alone(CSG, "csg_nolog", "-nolog"),
        alone(CSG, "csg_estimate", "-estimate"), alone(CSG, "csg_verbose", "-verbose"),
        alone(CSG, "csg_noinfo", "-noinfo"), alone(CSG, "nowadtextures", "-nowadtextures"),
        alone(CSG, "noclip", "-noclip"), alone(CSG, "onlyents", "-onlyents"),
        alone(CSG, "noskyclip", "-noskyclip"), alone(CSG, "csg_texdata", "-texdata 4096"),
        alone(CSG, "csg_dev", "-dev 0"), alone(CSG, "wadinclude", "-wadinclude zhlt.wad"),
        alone(CSG, "tiny", "-tiny 0.5"), alone(CSG, "brushunion", "-brushunion 95"),
        alone(BSP, "bsp_chart", "-chart"), alone(BSP, "bsp_low", "-low"),
        alone(BSP, "bsp_high", "-high"), alone(BSP, "bsp_nolog", "-nolog"),
        alone(BSP, "bsp_estimate", "-estimate"), alone(BSP, "bsp_verbose", "-verbose"),
        alone(BSP, "bsp_noinfo", "-noinfo"), alone(BSP, "leakonly", "-leakonly"),
        alone(BSP, "notjunc", "-notjunc"), alone(BSP, "bsp_noclip", "-noclip"),
        alone(BSP, "nofill", "-nofill"), alone(BSP, "bsp_texdata", "-texdata 4096"),
        alone(BSP, "bsp_dev", "-dev 0"), alone(BSP, "subdivide", "-subdivide 240"),
        alone(BSP, "maxnodesize", "-maxnodesize "), alone(VIS, "vis_chart", "-chart"),
        alone(VIS, "vis_low", "-low"), alone(VIS, "vis_high", "-high"),
        alone(VIS, "vis_nolog", "-nolog"), alone(VIS, "vis_estimate", "-estimate"),
        alone(VIS, "vis_verbose", "-verbose"), alone(VIS, "vis_noinfo", "-noinfo"),
        alone(VIS, "fast", "-fast"), alone(VIS, "full", "-full"),
        alone(VIS, "vis_texdata", "-texdata 4096"), alone(VIS, "vis_dev", "-dev 0")),
    [](const auto &info) {
        return key(info.param.setting.window) + "_" + info.param.setting.checked[0];
    });

INSTANTIATE_TEST_SUITE_P(
    Mixed, ParameterLineTest,
    ::testing::Values(
        LineRow{{CSG, {}}, "  "},
        LineRow{{CSG, {"csg_texdata", "csg_low", "csg_chart"}}, "  -chart -low -texdata 4096 "},
        LineRow{{CSG, {"csg_chart", "csg_low", "csg_texdata", "csg_estimate"}},
                "  -chart -estimate -low -texdata 4096 "},
        LineRow{{CSG,
                 {"brushunion", "tiny", "wadinclude", "csg_dev", "csg_texdata", "noclip",
                  "noskyclip", "nowadtextures", "onlyents", "csg_nolog", "csg_noinfo",
                  "csg_verbose", "csg_low", "csg_estimate", "csg_chart"}},
                "  -chart -estimate -low -verbose -noinfo -nolog -onlyents -nowadtextures "
                "-noskyclip -noclip -texdata 4096 -dev 0 -wadinclude zhlt.wad -tiny 0.5 "
                "-brushunion 95 "},
        // Values go in as typed: untrimmed, unquoted, possibly empty.
        LineRow{{CSG, {"wadinclude"}, {{"wadinclude_value", "zhlt.wad halflife.wad"}}},
                "  -wadinclude zhlt.wad halflife.wad "},
        LineRow{{CSG, {"wadinclude"}, {{"wadinclude_value", ""}}}, "  -wadinclude  "},
        LineRow{{CSG, {"tiny", "csg_dev"}, {{"tiny_value", " 1 "}, {"csg_dev_value", "-1"}}},
                "  -dev -1 -tiny  1  "},
        // An unchecked switch adds nothing, and its field is not checked either.
        LineRow{{CSG, {}, {{"csg_dev_value", "9"}, {"tiny_value", "x"}}}, "  "},
        LineRow{{BSP, {"nofill", "bsp_noclip", "notjunc", "bsp_chart"}},
                "  -chart -notjunc -noclip -nofill "},
        LineRow{{BSP, {"maxnodesize", "subdivide", "bsp_high"}, {{"maxnodesize_value", "1e6"}}},
                "  -high -subdivide 240 -maxnodesize 1e6 "},
        LineRow{{BSP, {}, {{"subdivide_value", "999"}}}, "  "},
        LineRow{{VIS, {"full", "vis_estimate"}}, "  -estimate -full "},
        LineRow{{VIS, {"vis_texdata", "vis_low"}, {{"vis_texdata_value", ""}}},
                "  -low -texdata  "}),
    [](const auto &info) { return "Line" + std::to_string(info.index); });

// --- Checks --------------------------------------------------------------------------------

struct CheckRow
{
    Setting setting;
    std::string message; // empty: passes
};

void PrintTo(const CheckRow &row, std::ostream *out)
{
    PrintTo(row.setting, out);
}

class ChecksTest : public ToolWindowTest, public ::testing::WithParamInterface<CheckRow>
{
protected:
    // The value name under which a box or field of the window is stored.
    static std::string storedName(const ToolWindow &w, const std::string &control)
    {
        for (const auto &s : w.switches()->all()) {
            if (s->box().name() == control)
                return s->def().storedName;
            if (s->field() && s->field()->name() == control)
                return s->def().storedName + "_value";
        }
        return {};
    }
};

TEST_P(ChecksTest, ARefusalReportsOnlyTheFirstFailingCheckAfterStoringEveryValue)
{
    const Setting &setting = GetParam().setting;
    ToolWindow &w = open(setting.window);
    ASSERT_TRUE(leave(w));
    const bool left = leave(apply(setting));
    if (GetParam().message.empty()) {
        EXPECT_TRUE(left);
        EXPECT_TRUE(app.messages.shown.empty());
        EXPECT_NE(w.parameterLine(), "  ");
        return;
    }
    EXPECT_FALSE(left);
    ASSERT_EQ(app.messages.shown.size(), 1u);
    EXPECT_EQ(app.messages.shown[0].text, GetParam().message);
    EXPECT_EQ(app.messages.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(app.messages.shown[0].title, "Fehler!!!");
    EXPECT_EQ(w.parameterLine(), "  ") << "the line of the last action that passed";
    for (const auto &box : setting.checked)
        EXPECT_EQ(app.read(key(setting.window), storedName(w, box)), "1") << box;
    for (const auto &[field, text] : setting.typed)
        EXPECT_EQ(app.read(key(setting.window), storedName(w, field)), text) << field;
}

CheckRow limit(WindowId id, std::string box, std::string text, std::string message)
{
    return {{id, {box}, {{box + "_value", std::move(text)}}}, std::move(message)};
}

INSTANTIATE_TEST_SUITE_P(
    Limits, ChecksTest,
    ::testing::Values(limit(CSG, "csg_dev", "6", ""), limit(CSG, "csg_dev", "06", ""),
                      limit(CSG, "csg_dev", "-1", ""), limit(CSG, "csg_dev", "abc", ""),
                      limit(CSG, "csg_dev", "", ""), limit(CSG, "csg_dev", "6.5", kDev),
                      limit(CSG, "csg_dev", "7", kDev), limit(CSG, "csg_dev", "7 Kerne", kDev),
                      limit(BSP, "bsp_dev", "6", ""), limit(BSP, "bsp_dev", "6.01", kBspDev),
                      limit(BSP, "bsp_dev", "7", kBspDev), limit(BSP, "subdivide", "240", ""),
                      limit(BSP, "subdivide", " 2.4e2", ""), limit(BSP, "subdivide", "x300", ""),
                      limit(BSP, "subdivide", "241", kSubdivide),
                      limit(BSP, "subdivide", "240.5", kSubdivide),
                      limit(BSP, "maxnodesize", "100000", ""), limit(VIS, "vis_dev", "6", ""),
                      limit(VIS, "vis_dev", "six", ""), limit(VIS, "vis_dev", "6.5", kDev),
                      limit(VIS, "vis_dev", "7", kDev)),
    [](const auto &info) { return "Limit" + std::to_string(info.index); });

// Several failing checks, cleared one by one: each time only the first one speaks.
INSTANTIATE_TEST_SUITE_P(
    FirstFailing, ChecksTest,
    ::testing::Values(
        CheckRow{{CSG, {"csg_low", "csg_high", "csg_dev"}, {{"csg_dev_value", "9"}}}, kHighLow},
        CheckRow{{CSG, {"csg_low", "csg_dev"}, {{"csg_dev_value", "9"}}}, kDev},
        CheckRow{{BSP,
                  {"bsp_low", "bsp_high", "bsp_dev", "subdivide"},
                  {{"bsp_dev_value", "7"}, {"subdivide_value", "999"}}},
                 kHighLow},
        CheckRow{{BSP,
                  {"bsp_low", "bsp_dev", "subdivide"},
                  {{"bsp_dev_value", "7"}, {"subdivide_value", "999"}}},
                 kBspDev},
        CheckRow{{BSP, {"bsp_low", "subdivide"}, {{"subdivide_value", "999"}}}, kSubdivide},
        CheckRow{
            {VIS, {"vis_low", "vis_high", "fast", "full", "vis_dev"}, {{"vis_dev_value", "9"}}},
            kHighLow},
        CheckRow{{VIS, {"vis_low", "fast", "full", "vis_dev"}, {{"vis_dev_value", "9"}}},
                 kFastFull},
        CheckRow{{VIS, {"vis_low", "full", "vis_dev"}, {{"vis_dev_value", "9"}}}, kDev}),
    [](const auto &info) { return "Case" + std::to_string(info.index); });

// --- Notes ---------------------------------------------------------------------------------

struct NoteRow
{
    WindowId window;
    std::string box;
    std::string text;
};

class NotesTest : public ToolWindowTest, public ::testing::WithParamInterface<NoteRow>
{
};

TEST_P(NotesTest, ShownWheneverTheBoxBecomesCheckedAlsoWhileLoading)
{
    const NoteRow &row = GetParam();
    app.stored(key(row.window), row.box, "1");
    ToolWindow &w = open(row.window);
    ASSERT_EQ(app.messages.shown.size(), 1u);
    EXPECT_EQ(app.messages.shown[0].text, row.text);
    EXPECT_EQ(app.messages.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(app.messages.shown[0].title, "Information");
    EXPECT_TRUE(w.box(row.box).isChecked()) << "the note changes nothing";

    w.box(row.box).setState(CheckBox::Unchecked);
    w.box(row.box).setState(CheckBox::Grey);
    EXPECT_EQ(app.messages.shown.size(), 1u);
    w.box(row.box).setState(CheckBox::Checked);
    EXPECT_EQ(app.messages.texts(), (std::vector<std::string>{row.text, row.text}));
}

INSTANTIATE_TEST_SUITE_P(
    Notes, NotesTest,
    ::testing::Values(
        NoteRow{CSG, "onlyents",
                "Bitte deaktivieren Sie alle Compiler außer CSG und BSP, da bei -onlyents nur "
                "diese gebraucht werden."},
        NoteRow{BSP, "leakonly",
                "Bitte deaktivieren Sie alle Compiler außer CSG und BSP sowie alle anderen "
                "Optionen, da diese für den Leak-Check nicht gebraucht werden."}),
    [](const auto &info) { return info.param.box; });

// --- Stored values -------------------------------------------------------------------------

struct StoreRow
{
    WindowId window;
    std::vector<std::string> boxes; // value names in their order, boxes then fields
    Typed fields;                   // with their start texts

    Typed values() const
    {
        Typed all;
        for (const auto &box : boxes)
            all.emplace_back(box, "0");
        all.insert(all.end(), fields.begin(), fields.end());
        return all;
    }
};

// Records the names of the values read, in order.
class ReadLog : public MemoryRegistryBackend
{
public:
    std::optional<RegValueInfo> queryValueInfo(RegKey key, std::string_view name) override
    {
        names.emplace_back(name);
        return MemoryRegistryBackend::queryValueInfo(key, name);
    }
    std::vector<std::string> names;
};

class StoredValuesTest : public ToolWindowTest, public ::testing::WithParamInterface<StoreRow>
{
protected:
    std::vector<std::string> names() const
    {
        std::vector<std::string> out;
        for (const auto &value : GetParam().values())
            out.push_back(value.first);
        return out;
    }
};

TEST_P(StoredValuesTest, FirstStartKeepsTheDefaultsAndWritesThemInOrderInOneBatch)
{
    ToolWindow &w = open(GetParam().window);
    EXPECT_FALSE(app.keyExists(key(w.id())));
    ASSERT_TRUE(leave(w));
    EXPECT_EQ(written(), names());
    EXPECT_EQ(app.backend.batchesEnded(), 1);
    for (const auto &[name, text] : GetParam().values())
        EXPECT_EQ(app.read(key(w.id()), name), text) << name;
}

TEST_P(StoredValuesTest, LoadReadsInTheSameOrderAndSavesBackWhatItRead)
{
    ReadLog log;
    Registry registry{log};
    Services services{registry,   app.messages, app.files,    app.program,
                      app.opener, app.writer,   app.launcher, app.help};
    std::unique_ptr<ToolWindow> w;
    if (GetParam().window == CSG)
        w = std::make_unique<CSG_Optionen>(services);
    else if (GetParam().window == BSP)
        w = std::make_unique<BSP_Optionen>(services);
    else
        w = std::make_unique<VIS_Optionen>(services);
    Typed stored = GetParam().values();
    for (auto &[name, text] : stored) {
        text = name.ends_with("_value") ? "v " + name : "1";
        log.putRaw(w->keyPath(), name, RegType::String, text);
    }
    w->load();
    EXPECT_EQ(log.names, names());
    w->save();
    for (const auto &[name, text] : stored)
        EXPECT_EQ(registry.ReadValue(kCurrentUser, w->keyPath(), name), text) << name;
}

TEST_P(StoredValuesTest, ABoxTextOtherThanAStateReadsAsUnchecked)
{
    const std::string box = GetParam().boxes.front();
    for (const char *text : {"", "abc", "3", "-1", "1 ", " 1", "01"}) {
        TestApp fresh;
        fresh.stored(key(GetParam().window), box, text);
        auto &w = static_cast<ToolWindow &>(fresh.windows.window(GetParam().window));
        EXPECT_EQ(w.switches()->all().front()->box().state(), CheckBox::Unchecked) << text;
        EXPECT_TRUE(fresh.messages.shown.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, StoredValuesTest,
    ::testing::Values(StoreRow{CSG,
                               {"chart", "low", "high", "nolog", "estimate", "verbose", "noinfo",
                                "nowadtextures", "noclip", "onlyents", "noskyclip", "texdata",
                                "dev", "wadinclude", "tiny", "brushunion"},
                               {{"texdata_value", "4096"},
                                {"dev_value", "0"},
                                {"wadinclude_value", "zhlt.wad"},
                                {"tiny_value", "0.5"},
                                {"brushunion_value", "95"}}},
                      StoreRow{BSP,
                               {"chart", "low", "high", "nolog", "estimate", "verbose", "noinfo",
                                "leakonly", "notjunc", "noclip", "nofill", "texdata", "dev",
                                "subdivide", "maxnodesize"},
                               {{"texdata_value", "4096"},
                                {"dev_value", "0"},
                                {"subdivide_value", "240"},
                                {"maxnodesize_value", ""}}},
                      StoreRow{VIS,
                               {"chart", "low", "high", "nolog", "estimate", "verbose", "noinfo",
                                "fast", "full", "texdata", "dev"},
                               {{"texdata_value", "4096"}, {"dev_value", "0"}}}),
    [](const auto &info) { return key(info.param.window); });

// --- The window among the others -----------------------------------------------------------

class EveryToolWindowTest : public ToolWindowTest, public ::testing::WithParamInterface<WindowId>
{
};

TEST_P(EveryToolWindowTest, ThreadsIsGreyFixedAtOneAndNeverStoredOrBuilt)
{
    ToolWindow &w = open(GetParam());
    CheckBox &threads = w.box(GetParam() == CSG   ? "csg_threads"
                              : GetParam() == BSP ? "bsp_threads"
                                                  : "vis_threads");
    TextField &value = w.field(threads.name() + "_value");
    EXPECT_EQ(threads.state(), CheckBox::Grey);
    EXPECT_FALSE(threads.isEnabled());
    EXPECT_EQ(value.text(), "1");
    EXPECT_FALSE(value.isEnabled());
    ASSERT_TRUE(leave(w));
    EXPECT_EQ(w.parameterLine(), "  ");
    for (const auto &name : written())
        EXPECT_EQ(name.find("threads"), std::string::npos);
}

TEST_P(EveryToolWindowTest, AWindowOnlyLoadedHandsOverTheEmptyLineAndAHiddenOneKeepsItsLine)
{
    app.stored(key(GetParam()), "chart", "1");
    ToolWindow &w = open(GetParam());
    auto *field = dynamic_cast<TextField *>(w.controls().back());
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(field->isHidden());
    EXPECT_EQ(field->text(), "");
    EXPECT_EQ(w.parameterLine(), "");

    ASSERT_TRUE(leave(w));
    EXPECT_EQ(field->text(), "  -chart ");
    w.switches()->all().front()->box().setState(CheckBox::Unchecked);
    EXPECT_EQ(w.parameterLine(), "  -chart ") << "changed but not left";
    w.activateMenuItem("exit");
    EXPECT_EQ(app.read(key(GetParam()), "chart"), "0") << "exit saves";
    EXPECT_EQ(w.parameterLine(), "  -chart ") << "but builds nothing";
}

TEST_P(EveryToolWindowTest, LayoutFitsTheClientAreaWithoutOverlapsInTabOrder)
{
    const ToolWindow &w = open(GetParam());
    std::vector<const Control *> shown;
    for (const Control *c : w.controls()) {
        if (c->isHidden())
            continue;
        const Rect &r = c->geometry();
        EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.w > 0 && r.h >= 20 && r.x + r.w <= 640 &&
                    r.y + r.h <= 455)
            << c->name();
        if (const GroupBox *g = c->group()) {
            const Rect &f = g->geometry();
            EXPECT_TRUE(r.x > f.x && r.y > f.y + 12 && r.x + r.w < f.x + f.w &&
                        r.y + r.h < f.y + f.h)
                << c->name() << " in " << g->name();
        }
        shown.push_back(c);
    }
    for (std::size_t i = 0; i < shown.size(); ++i)
        for (std::size_t j = i + 1; j < shown.size(); ++j) {
            const Rect &a = shown[i]->geometry();
            const Rect &b = shown[j]->geometry();
            const bool overlap =
                a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
            const bool framed = shown[j]->group() == shown[i] || shown[i]->group() == shown[j];
            EXPECT_TRUE(!overlap || framed) << shown[i]->name() << " / " << shown[j]->name();
        }
    EXPECT_EQ(w.controls().front()->kind(), ControlKind::Label);
    EXPECT_GE(w.controls().front()->geometry().w, 500) << "the label runs across the top";
    // Tab order: each value field right after its box.
    const auto &controls = w.controls();
    for (const auto &s : w.switches()->all()) {
        if (!s->field())
            continue;
        EXPECT_EQ(*(std::find(controls.begin(), controls.end(), &s->box()) + 1), s->field());
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, EveryToolWindowTest, ::testing::Values(CSG, BSP, VIS),
                         [](const auto &info) { return key(info.param); });

TEST_F(ToolWindowTest, NextStepButtonsLeadToTheirWindowsWhateverTheCompilersChosen)
{
    app.stored("Start", "csg", "1");
    for (const char *box : {"bsp", "vis", "netvis", "rad"})
        app.stored("Start", box, "0");
    app.windows.start();
    const std::tuple<WindowId, const char *, WindowId> steps[] = {
        {CSG, "step_next2", BSP},
        {BSP, "step_next3", VIS},
        {BSP, "step_next6", WindowId::NETVIS_Optionen},
        {VIS, "step_next4", WindowId::RAD_Optionen},
        {VIS, "step_next7", WindowId::NETVIS_Optionen},
    };
    for (const auto &[from, button, to] : steps) {
        ToolWindow &w = open(from);
        static_cast<Button *>(w.control(button))->click();
        EXPECT_EQ(app.windows.current(), &app.windows.window(to)) << button;
        EXPECT_EQ(w.parameterLine(), "  ") << "a step builds the line";
    }
}

// --- What the larger windows need of the table ---------------------------------------------

// Two sets stored one after the other, a range, a hint that lets the action go on, a wording
// after the target, a caption other than the switch.
class SampleWindow : public ToolWindow
{
public:
    explicit SampleWindow(Services &services)
        : ToolWindow(WindowId::RAD_Optionen, "Probe", "Probe", services)
    {}

    static OptionTable table()
    {
        SwitchDef clientDev = common("client_dev", "-dev", 4, {1, 0, 0});
        clientDev.storedName = "client_dev";
        clientDev.storeSet = 1;
        SwitchDef ambient =
            valued("ambient", "-ambient", "t", 5, {1, 0, 1}, {"ambient_value", "t", "0.5 0.5 0.5"});
        ambient.caption = "-ambient rgb";
        ambient.storeSet = 1;
        Check hint = atMost("s_dev", 20, "hint");
        hint.goesOn = true;
        hint.icon = MessageIcon::Information;
        hint.title = "Tamrin informiert";
        Check worded = bothChecked("s_chart", "s_low", "kompiliert");
        worded.towards = WindowId::BSP_Optionen;
        worded.messageTowards = "komprimiert";
        return {{{"server", "S", {20, 40, 600, 80}, 300, 140, 70},
                 {"client", "C", {20, 140, 600, 80}, 300, 140, 70}},
                {common("s_chart", "-chart", 1, {0, 0, 0}), common("s_low", "-low", 2, {0, 0, 1}),
                 common("s_dev", "-dev", 3, {0, 1, 0}), clientDev, ambient},
                {worded, between("client_dev", 1, 2, "range"), hint},
                {}};
    }

    Switches switches{*this, table()};
    ParameterField values{*this, "values"};
};

TEST_F(ToolWindowTest, TheTableServesSetsRangesHintsAndWordingsAfterTheTarget)
{
    SampleWindow w(app.services);
    w.save();
    EXPECT_EQ(written(),
              (std::vector<std::string>{"chart", "low", "dev", "dev_value", "client_dev", "ambient",
                                        "client_dev_value", "ambient_value"}));

    w.box("s_chart").setState(CheckBox::Checked);
    w.box("s_low").setState(CheckBox::Checked);
    EXPECT_FALSE(w.leaveTowards(WindowId::BSP_Optionen));
    EXPECT_FALSE(w.leaveTowards(WindowId::end_window));
    EXPECT_EQ(app.messages.texts(), (std::vector<std::string>{"komprimiert", "kompiliert"}));
    w.box("s_low").setState(CheckBox::Unchecked);

    w.box("client_dev").setState(CheckBox::Checked);
    for (const char *text : {"1", "2", "1.5", "2,5"}) {
        w.field("client_dev_value").setText(text);
        EXPECT_TRUE(w.leaveTowards(WindowId::end_window)) << text;
    }
    for (const char *text : {"0", "3", "-1", "", "2.01"}) {
        w.field("client_dev_value").setText(text);
        EXPECT_FALSE(w.leaveTowards(WindowId::end_window)) << text;
    }
    w.field("client_dev_value").setText("1");

    app.messages.shown.clear();
    w.box("s_dev").setState(CheckBox::Checked);
    w.field("s_dev_value").setText("21");
    w.box("ambient").setState(CheckBox::Checked);
    EXPECT_TRUE(w.leaveTowards(WindowId::end_window));
    ASSERT_EQ(app.messages.shown.size(), 1u);
    EXPECT_EQ(app.messages.shown[0].title, "Tamrin informiert");
    EXPECT_EQ(w.parameterLine(), "  -chart -dev 21 -dev 1 -ambient 0.5 0.5 0.5 ");
}

} // namespace
} // namespace kelvane

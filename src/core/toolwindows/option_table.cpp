#include "toolwindows/option_table.h"

#include "toolwindows/tool_window.h"
#include "util/number.h"

#include <algorithm>
#include <cassert>

namespace kelvane {

namespace {

// The grid of a group box: where its first row starts under the caption, the pitch of the
// rows and the height of a box and a field.
constexpr int kInset = 12;
constexpr int kFirstRow = 22;
constexpr int kRowPitch = 28;
constexpr int kRowHeight = 24;
constexpr int kFieldGap = 4;

std::string storedNameOf(std::string_view switchText)
{
    return std::string(switchText.substr(switchText.starts_with('-') ? 1 : 0));
}

struct SharedSwitch
{
    std::string_view switchText;
    std::string_view tooltip;
    std::string_view fieldTooltip; // empty for a switch without a value
    std::string_view startText;
};

constexpr SharedSwitch kShared[] = {
    {"-chart", "Aktiviert Statistiken", {}, {}},
    {"-low", "Ordnet dem Compiler niedrige Priorität zu", {}, {}},
    {"-high", "Ordnet dem Compiler hohe Priorität zu", {}, {}},
    {"-nolog", "Schaltet das Log ab", {}, {}},
    {"-estimate", "Schaltet eine übersichtlichere Fortschrittsanzeige an", {}, {}},
    {"-verbose", "Schaltet Compiler-Infos zum Vorgang an", {}, {}},
    {"-noinfo", "Verhindert die Compiler Konfigurationsanzeige", {}, {}},
    {"-noclip", "Verhindert, dass Clippinginformationen erstellt werden", {}, {}},
    {"-fast", "Lässt VIS schneller laufen (schlechtere Qualität)", {}, {}},
    {"-full", "Lässt VIS alle Berechnungen durchführen (beste Qualität)", {}, {}},
    {"-texdata", "Stellt das Texturspeicher Limit ein", "Wert in KB (Standard ist 4096)", "4096"},
    {"-threads", "Gibt an wie viele Threads benutzt werden sollen",
     "Wert als Ganzzahl (keine Begrenzung)", "1"},
    {"-dev", "Schaltet Entwicklermeldungen ein", "Wert als Ganzzahl (0-6)", "0"},
};

Rect boxRect(const GroupDef &group, const Cell &cell)
{
    const ColumnDef column = group.column(cell.column);
    return {group.geometry.x + kInset + column.left,
            group.geometry.y + kFirstRow + cell.row * kRowPitch, column.boxWidth, kRowHeight};
}

} // namespace

ColumnDef GroupDef::column(int index) const
{
    if (columns.empty())
        return {index * columnPitch, boxWidth, fieldWidth};
    assert(index >= 0 && index < static_cast<int>(columns.size()) && "a column of the grid");
    return columns[static_cast<std::size_t>(index)];
}

SwitchDef flag(std::string name, std::string switchText, std::string tooltip, int buildOrder,
               Cell cell)
{
    SwitchDef def;
    def.name = std::move(name);
    def.caption = switchText;
    def.tooltip = std::move(tooltip);
    def.storedName = storedNameOf(switchText);
    def.switchText = std::move(switchText);
    def.buildOrder = buildOrder;
    def.cell = cell;
    return def;
}

SwitchDef valued(std::string name, std::string switchText, std::string tooltip, int buildOrder,
                 Cell cell, ValueDef value)
{
    SwitchDef def =
        flag(std::move(name), std::move(switchText), std::move(tooltip), buildOrder, cell);
    def.value = std::move(value);
    return def;
}

SwitchDef common(std::string name, std::string_view switchText, int buildOrder, Cell cell)
{
    const auto shared =
        std::find_if(std::begin(kShared), std::end(kShared),
                     [&](const SharedSwitch &s) { return s.switchText == switchText; });
    assert(shared != std::end(kShared) && "a switch that the compilers share");
    SwitchDef def = flag(std::move(name), std::string(switchText), std::string(shared->tooltip),
                         buildOrder, cell);
    if (!shared->fieldTooltip.empty())
        def.value = ValueDef{def.name + "_value", std::string(shared->fieldTooltip),
                             std::string(shared->startText)};
    if (switchText == "-threads") {
        def.startState = CheckBox::Grey;
        def.operable = false;
        def.storedName.clear();
    }
    return def;
}

Check bothChecked(std::string box, std::string other, std::string message)
{
    Check check;
    check.kind = Check::Kind::BothChecked;
    check.box = std::move(box);
    check.other = std::move(other);
    check.message = std::move(message);
    return check;
}

Check atMost(std::string box, double high, std::string message)
{
    Check check;
    check.kind = Check::Kind::Above;
    check.box = std::move(box);
    check.high = high;
    check.message = std::move(message);
    return check;
}

Check between(std::string box, double low, double high, std::string message)
{
    Check check = atMost(std::move(box), high, std::move(message));
    check.kind = Check::Kind::Outside;
    check.low = low;
    return check;
}

// ---------------------------------------------------------------------------------------------

Switch::Switch(Window &window, SwitchDef def, const GroupBox &group, const GroupDef &layout)
    : m_def(std::move(def))
    , m_box(window, {m_def.name, m_def.caption, m_def.tooltip, boxRect(layout, m_def.cell), &group},
            m_def.startState)
{
    m_box.setEnabled(m_def.operable);
    if (!m_def.value)
        return;
    const Rect box = m_box.geometry();
    const int width =
        m_def.value->width ? m_def.value->width : layout.column(m_def.cell.column).fieldWidth;
    m_field = std::make_unique<TextField>(
        window,
        ControlDef{m_def.value->name,
                   {},
                   m_def.value->tooltip,
                   {box.x + box.w + kFieldGap, box.y, width, kRowHeight},
                   &group},
        m_def.value->startText);
    m_field->setEnabled(m_def.operable);
}

std::string Switch::piece() const
{
    if (!m_box.isChecked())
        return {};
    std::string piece = " " + m_def.switchText;
    if (m_field)
        piece += " " + m_field->text();
    return piece;
}

// ---------------------------------------------------------------------------------------------

Switches::Switches(ToolWindow &window, const OptionTable &table)
    : m_table(table)
{
    for (const SwitchDef &def : m_table.switches) {
        const int group = def.cell.group;
        assert(group >= 0 && group < static_cast<int>(m_table.groups.size()));
        assert(group + 1 >= static_cast<int>(m_groups.size()) &&
               "switches declared group by group");
        while (static_cast<int>(m_groups.size()) <= group) {
            const GroupDef &g = m_table.groups[m_groups.size()];
            m_groups.push_back(
                std::make_unique<GroupBox>(window, ControlDef{g.name, g.caption, {}, g.geometry}));
        }
        m_switches.push_back(
            std::make_unique<Switch>(window, def, *m_groups[group], m_table.groups[group]));
    }
    while (m_groups.size() < m_table.groups.size()) {
        const GroupDef &g = m_table.groups[m_groups.size()];
        m_groups.push_back(
            std::make_unique<GroupBox>(window, ControlDef{g.name, g.caption, {}, g.geometry}));
    }

    for (const auto &s : m_switches)
        m_buildOrder.push_back(s.get());
    std::sort(m_buildOrder.begin(), m_buildOrder.end(), [](const Switch *a, const Switch *b) {
        return a->def().buildOrder < b->def().buildOrder;
    });
    assert(std::adjacent_find(m_buildOrder.begin(), m_buildOrder.end(),
                              [](const Switch *a, const Switch *b) {
                                  return a->def().buildOrder == b->def().buildOrder;
                              }) == m_buildOrder.end() &&
           "each switch has its own place in the line");

    window.adopt(*this);
}

Switch *Switches::find(std::string_view boxName) const
{
    for (const auto &s : m_switches)
        if (s->def().name == boxName)
            return s.get();
    return nullptr;
}

std::string Switches::parameterLine() const
{
    std::string line = " ";
    for (const Switch *s : m_buildOrder)
        line += s->piece();
    return line + " ";
}

bool Switches::fails(const Check &check) const
{
    const Switch *subject = find(check.box);
    assert(subject && "a check names a switch of its window");
    if (!subject->box().isChecked())
        return false;
    switch (check.kind) {
    case Check::Kind::BothChecked: {
        const Switch *other = find(check.other);
        assert(other && "a check names a switch of its window");
        return other->box().isChecked();
    }
    case Check::Kind::Above:
    case Check::Kind::Outside: {
        assert(subject->field() && "a limit is checked on a value switch");
        const double value = leadingNumber(subject->field()->text());
        return value > check.high || (check.kind == Check::Kind::Outside && value < check.low);
    }
    }
    return false;
}

GroupDef onOffGroup(std::string name)
{
    return {std::move(name), "An/Aus Optionen", {20, 40, 600, 142}, 196, 180, 0, {}};
}

GroupDef parameterGroup(std::string name, int height)
{
    return {std::move(name),
            "Optionen, die einen Parameter benötigen",
            {20, 230, 600, height},
            300,
            140,
            70,
            {}};
}

} // namespace kelvane

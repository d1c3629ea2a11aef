#pragma once

#include "app/controls.h"
#include "app/platform.h"
#include "app/services.h"
#include "app/window_id.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

class ToolWindow;

// One column of a group box's grid, from the group's inner left edge.
struct ColumnDef
{
    int left = 0;
    int boxWidth = 180;
    int fieldWidth = 0; // of a value field, unless its switch asks for another
};

// A group box of a tool window and the grid its switches stand in. Columns and rows count from
// 0; a value field stands right of its box.
struct GroupDef
{
    std::string name;
    std::string caption;
    Rect geometry;
    // Columns of equal width at an equal pitch, unless `columns` gives each its own.
    int columnPitch = 196; // from the left of one column to the left of the next
    int boxWidth = 180;
    int fieldWidth = 0;
    std::vector<ColumnDef> columns;

    ColumnDef column(int index) const;
};

// Where a switch stands: the group box (its index in the table) and the cell in its grid.
struct Cell
{
    int group = 0;
    int column = 0;
    int row = 0;
};

// The text field beside a switch that takes a value.
struct ValueDef
{
    std::string name;
    std::string tooltip;
    std::string startText;
    int width = 0; // 0: the width its group gives value fields
};

// One command-line switch of a compiler, declared once: its check box and value field, what
// it stores, the piece it adds to the parameter line and where it stands.
struct SwitchDef
{
    std::string name; // of the check box
    std::string caption;
    std::string tooltip;
    int startState = CheckBox::Unchecked;
    // A switch the user cannot operate ("-threads"): box and field are shown disabled.
    bool operable = true;
    // The box's value name in the window key; the field's adds "_value". Empty: nothing of
    // this switch is stored.
    std::string storedName;
    // The switch as the compiler reads it. Its piece is a blank and this text; a value switch
    // adds a blank and the field's text as typed.
    std::string switchText;
    // The place of the piece in the parameter line, counted from 1; not the place on screen.
    int buildOrder = 0;
    Cell cell;
    std::optional<ValueDef> value;
    // A window with several sets of the same switches (a server and a client set) stores them
    // set after set: each set's boxes, then that set's fields.
    int storeSet = 0;
};

// A rule that a navigation action tests after saving and before building the line.
struct Check
{
    enum class Kind {
        BothChecked, // `box` and `other` are both checked
        Above,       // `box` is checked and its field's number is above `high`
        Outside,     // `box` is checked and its field's number is below `low` or above `high`
    };

    Kind kind = Kind::BothChecked;
    std::string box;
    std::string other;
    double low = 0;
    double high = 0;
    std::string message;
    // Another wording when the action leads to this window.
    std::optional<WindowId> towards;
    std::string messageTowards;
    // A hint rather than a refusal: its box is shown and the action goes on.
    bool goesOn = false;
    MessageIcon icon = MessageIcon::Critical;
    std::string title{kErrorTitle};
};

// A note shown whenever its box becomes checked, also when a stored "1" is loaded.
struct Note
{
    std::string box;
    std::string text;
};

// Everything that makes one compiler's option window apart from its label, buttons and
// parameter field.
struct OptionTable
{
    std::vector<GroupDef> groups;
    std::vector<SwitchDef> switches; // in tab order, group after group
    std::vector<Check> checks;       // in the order they run; the first refusal ends the action
    std::vector<Note> notes;
};

// The two group boxes of the CSG, BSP and VIS windows: the switches without a value in three
// columns at the top, below them the switches with a value, one a row, of the given height.
GroupDef onOffGroup(std::string name);
GroupDef parameterGroup(std::string name, int height);

// Declaring switches. The stored name is the switch without its "-".
SwitchDef flag(std::string name, std::string switchText, std::string tooltip, int buildOrder,
               Cell cell);
SwitchDef valued(std::string name, std::string switchText, std::string tooltip, int buildOrder,
                 Cell cell, ValueDef value);
// A switch that several compilers share, with its tooltip and value field: "-chart", "-low",
// "-high", "-nolog", "-estimate", "-verbose", "-noinfo", "-noclip", "-fast", "-full",
// "-texdata", "-threads", "-dev". The value field is named after the box. "-threads" starts
// grey, cannot be operated and is not stored.
SwitchDef common(std::string name, std::string_view switchText, int buildOrder, Cell cell);

// Declaring checks.
Check bothChecked(std::string box, std::string other, std::string message);
Check atMost(std::string box, double high, std::string message);
Check between(std::string box, double low, double high, std::string message);

// Messages that several windows share.
inline constexpr std::string_view kHighAndLow =
    "High und low können nicht gleichzeitig verwendet werden";
inline constexpr std::string_view kFastAndFull = "Fast und full funktionieren nicht zusammen";
inline constexpr std::string_view kDevAtMostSix = "Der größte Wert für -dev ist 6";

// One switch on its window: the check box and, for a value switch, its text field.
class Switch
{
public:
    Switch(Window &window, SwitchDef def, const GroupBox &group, const GroupDef &layout);

    const SwitchDef &def() const { return m_def; }
    CheckBox &box() { return m_box; }
    const CheckBox &box() const { return m_box; }
    // Null for a switch without a value.
    TextField *field() const { return m_field.get(); }

    // What the switch adds to the parameter line: nothing unless its box is checked.
    std::string piece() const;

private:
    SwitchDef m_def;
    CheckBox m_box;
    std::unique_ptr<TextField> m_field;
};

// The switches of a tool window, made from its table: each group box followed by the boxes
// and fields standing in it, in the table's order, which is the tab order. Made as a member of
// the window, it hands itself to the window, which stores, checks and builds from it.
class Switches
{
public:
    Switches(ToolWindow &window, const OptionTable &table);

    const OptionTable &table() const { return m_table; }
    const std::vector<std::unique_ptr<Switch>> &all() const { return m_switches; }
    const std::vector<std::unique_ptr<GroupBox>> &groups() const { return m_groups; }
    // By the name of its check box; null when there is none.
    Switch *find(std::string_view boxName) const;

    // One blank, the pieces of the checked switches in build order, one blank.
    std::string parameterLine() const;
    bool fails(const Check &check) const;

private:
    OptionTable m_table;
    std::vector<std::unique_ptr<GroupBox>> m_groups;
    std::vector<std::unique_ptr<Switch>> m_switches;
    std::vector<const Switch *> m_buildOrder;
};

} // namespace kelvane

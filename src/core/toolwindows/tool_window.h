#pragma once

#include "app/window.h"
#include "toolwindows/option_table.h"

#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

class ParameterField;

// A compiler's option window. Leaving it saves first, then checks, then builds the parameter
// line; a failed check keeps the user here with the values saved but the line unchanged.
// A subclass declares its label, its `Switches` from its table, its buttons and its
// `ParameterField` as members; the switches and the field hand themselves to the window.
class ToolWindow : public Window
{
public:
    using Window::Window;

    bool leave() override;
    bool leaveTowards(WindowId to) override;

    // The line of the last navigation action that passed the checks; empty until then.
    std::string parameterLine() const;

    // The line the end window hands to the compiler. A window the user has not left in this
    // run has no line yet: it is built now from the controls as they stand, after the
    // window's checks. The first refusal is returned for the caller to show where the user
    // can mend it; notes are shown on the way.
    struct LineForScript
    {
        std::string line;
        const Check *refusal = nullptr;
    };
    LineForScript lineForScript();

    // A switch's check box or value field by name; asserts that it exists.
    CheckBox &box(std::string_view name) const;
    TextField &field(std::string_view name) const;

    const Switches *switches() const { return m_switches; }

private:
    friend class Switches;
    friend class ParameterField;

    void adopt(Switches &switches);
    // The window's checks in their order; shows the first refusal and any hint before it.
    bool checks(std::optional<WindowId> to);
    // The first check that refuses, after showing any hint before it; null when all pass.
    const Check *firstRefusal();
    // Builds the parameter line into the window's parameter field.
    void build();
    bool leaveFor(std::optional<WindowId> to);

    Switches *m_switches = nullptr;
    ParameterField *m_parameterField = nullptr;
    bool m_built = false;
};

// The hidden field in which a tool window keeps its parameter line for the end window. It is
// never stored: a window that was only loaded hands over the empty text.
class ParameterField : public TextField
{
public:
    ParameterField(ToolWindow &window, std::string name);
};

} // namespace kelvane

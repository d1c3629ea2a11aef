#include "toolwindows/tool_window.h"

#include <algorithm>
#include <cassert>
#include <vector>

namespace kelvane {

bool ToolWindow::leave()
{
    return leaveFor(std::nullopt);
}

bool ToolWindow::leaveTowards(WindowId to)
{
    return leaveFor(to);
}

bool ToolWindow::leaveFor(std::optional<WindowId> to)
{
    // Saved before the checks, so a refused combination is what the next run loads.
    save();
    if (!checks(to))
        return false;
    build();
    return true;
}

std::string ToolWindow::parameterLine() const
{
    return m_parameterField->text();
}

CheckBox &ToolWindow::box(std::string_view name) const
{
    Switch *s = m_switches->find(name);
    assert(s && "a check box of this window");
    return s->box();
}

TextField &ToolWindow::field(std::string_view name) const
{
    auto *field = dynamic_cast<TextField *>(control(name));
    assert(field && "a text field of this window");
    return *field;
}

void ToolWindow::adopt(Switches &switches)
{
    assert(!m_switches && "one table of switches per window");
    m_switches = &switches;

    const auto &all = switches.all();
    std::vector<int> sets;
    for (const auto &s : all)
        if (std::find(sets.begin(), sets.end(), s->def().storeSet) == sets.end())
            sets.push_back(s->def().storeSet);
    for (int set : sets) {
        for (const auto &s : all)
            if (s->def().storeSet == set && !s->def().storedName.empty())
                store(s->def().storedName, s->box());
        for (const auto &s : all)
            if (s->def().storeSet == set && !s->def().storedName.empty() && s->field())
                store(s->def().storedName + "_value", *s->field());
    }

    for (const Note &note : switches.table().notes) {
        Switch *s = switches.find(note.box);
        assert(s && "a note belongs to a check box of its window");
        // Raised by the load step too: a stored "1" shows the note while the window loads.
        s->box().changed.connect([this, text = note.text](int state) {
            if (state == CheckBox::Checked)
                showInformation(text);
        });
    }
}

ToolWindow::LineForScript ToolWindow::lineForScript()
{
    if (!m_built) {
        if (const Check *refusal = firstRefusal())
            return {parameterLine(), refusal};
        build();
    }
    return {parameterLine(), nullptr};
}

const Check *ToolWindow::firstRefusal()
{
    for (const Check &check : m_switches->table().checks) {
        if (!m_switches->fails(check))
            continue;
        if (!check.goesOn)
            return &check;
        services().messages.show(check.message, check.icon, check.title);
    }
    return nullptr;
}

bool ToolWindow::checks(std::optional<WindowId> to)
{
    const Check *refusal = firstRefusal();
    if (refusal) {
        const bool towards = refusal->towards && refusal->towards == to;
        services().messages.show(towards ? refusal->messageTowards : refusal->message,
                                 refusal->icon, refusal->title);
    }
    return !refusal;
}

void ToolWindow::build()
{
    m_parameterField->setText(m_switches->parameterLine());
    m_built = true;
}

ParameterField::ParameterField(ToolWindow &window, std::string name)
    : TextField(window, {std::move(name), {}, {}, {}})
{
    setHidden(true);
    assert(!window.m_parameterField && "one parameter field per window");
    window.m_parameterField = this;
}

} // namespace kelvane

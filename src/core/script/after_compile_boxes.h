#pragma once

#include "app/controls.h"
#include "script/compile_script.h"

#include <array>
#include <utility>

namespace kelvane {

// The frame of the three after-compile boxes that the end window and the presets window both
// have: the same captions, tooltips and stored names; each window gives them their places.
class AfterCompileBoxes
{
public:
    struct Places
    {
        Rect frame;
        Rect halfLife;
        Rect copy;
        Rect shutdown;
    };

    AfterCompileBoxes(Window &window, const Places &places);

    GroupBox after_compile;
    CheckBox start_hl_check;
    CheckBox copy_bsp;
    CheckBox exit_win;

    // The stored value names with their boxes, in the order they are read and written.
    std::array<std::pair<const char *, CheckBox *>, 3> stored()
    {
        return {{{"halflife", &start_hl_check}, {"copy", &copy_bsp}, {"shutdown", &exit_win}}};
    }
    script::AfterCompile chosen() const
    {
        return {copy_bsp.isChecked(), start_hl_check.isChecked(), exit_win.isChecked()};
    }
};

} // namespace kelvane

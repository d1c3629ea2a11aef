#pragma once

#include "toolwindows/tool_window.h"

namespace kelvane {

class RAD_Optionen : public ToolWindow
{
public:
    explicit RAD_Optionen(Services &services)
        : ToolWindow(WindowId::RAD_Optionen, "Kelvane - RAD-Optionen", "Rad", services)
    {}

    Button compile{*this, {"compile", "Kompilieren...", {}, {470, 200, 150, 30}},
                   WindowId::end_window};
};

} // namespace kelvane

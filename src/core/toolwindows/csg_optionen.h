#pragma once

#include "toolwindows/tool_window.h"

namespace kelvane {

class CSG_Optionen : public ToolWindow
{
public:
    explicit CSG_Optionen(Services &services)
        : ToolWindow(WindowId::CSG_Optionen, "Kelvane - CSG-Optionen", "Csg", services)
    {}

    Button step_next2{*this, {"step_next2", "Zum nächsten Schritt...", {}, {470, 200, 150, 30}},
                      WindowId::BSP_Optionen};
};

} // namespace kelvane

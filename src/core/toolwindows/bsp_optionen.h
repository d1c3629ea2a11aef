#pragma once

#include "toolwindows/tool_window.h"

namespace kelvane {

class BSP_Optionen : public ToolWindow
{
public:
    explicit BSP_Optionen(Services &services)
        : ToolWindow(WindowId::BSP_Optionen, "Kelvane - BSP-Optionen", "Bsp", services)
    {}

    Button step_next6{*this, {"step_next6", "Zu NETVIS", {}, {20, 200, 150, 30}},
                      WindowId::NETVIS_Optionen};
    Button step_next3{*this, {"step_next3", "Zum nächsten Schritt...", {}, {470, 200, 150, 30}},
                      WindowId::VIS_Optionen};
};

} // namespace kelvane

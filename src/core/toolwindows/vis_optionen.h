#pragma once

#include "toolwindows/tool_window.h"

namespace kelvane {

class VIS_Optionen : public ToolWindow
{
public:
    explicit VIS_Optionen(Services &services)
        : ToolWindow(WindowId::VIS_Optionen, "Kelvane - VIS-Optionen", "Vis", services)
    {}

    Button step_next7{*this, {"step_next7", "Zu NETVIS", {}, {20, 200, 150, 30}},
                      WindowId::NETVIS_Optionen};
    Button step_next4{*this, {"step_next4", "Zum nächsten Schritt...", {}, {470, 200, 150, 30}},
                      WindowId::RAD_Optionen};
};

} // namespace kelvane

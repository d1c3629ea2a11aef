#pragma once

#include "toolwindows/tool_window.h"

namespace kelvane {

class NETVIS_Optionen : public ToolWindow
{
public:
    explicit NETVIS_Optionen(Services &services)
        : ToolWindow(WindowId::NETVIS_Optionen, "Kelvane - NETVIS-Optionen", "Netvis", services)
    {}

    Button step_next5{*this, {"step_next5", "Zum nächsten Schritt...", {}, {470, 200, 150, 30}},
                      WindowId::RAD_Optionen};
};

} // namespace kelvane

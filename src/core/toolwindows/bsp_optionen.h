#pragma once

#include "toolwindows/tool_window.h"

namespace kelvane {

// The switches of HLBSP, the second compiler of the chain.
class BSP_Optionen : public ToolWindow
{
public:
    explicit BSP_Optionen(Services &services)
        : ToolWindow(WindowId::BSP_Optionen, "Kelvane - BSP-Optionen", "Bsp", services)
    {}

    static const OptionTable &table();

    Label BSPoptionsINFO{
        *this, {"BSPoptionsINFO", "Wählen Sie hier die BSP-Optionen aus.", {}, {20, 10, 600, 20}}};
    Switches switches{*this, table()};
    Button step_next6{
        *this, {"step_next6", "Zu NETVIS", {}, {20, 190, 170, 30}}, WindowId::NETVIS_Optionen};
    Button step_next3{*this,
                      {"step_next3", "Zum nächsten Schritt...", {}, {450, 190, 170, 30}},
                      WindowId::VIS_Optionen};
    ParameterField bspvalues{*this, "bspvalues"};
};

} // namespace kelvane

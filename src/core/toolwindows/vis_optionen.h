#pragma once

#include "toolwindows/tool_window.h"

namespace kelvane {

// The switches of HLVIS, the compiler after BSP; NETVIS is its alternative.
class VIS_Optionen : public ToolWindow
{
public:
    explicit VIS_Optionen(Services &services)
        : ToolWindow(WindowId::VIS_Optionen, "Kelvane - VIS-Optionen", "Vis", services)
    {}

    static const OptionTable &table();

    // Named like the CSG window's label.
    Label CSGoptionsINFO{
        *this, {"CSGoptionsINFO", "Wählen Sie hier die VIS-Optionen aus.", {}, {20, 10, 600, 20}}};
    Switches switches{*this, table()};
    Button step_next7{
        *this, {"step_next7", "Zu NETVIS", {}, {20, 190, 170, 30}}, WindowId::NETVIS_Optionen};
    Button step_next4{*this,
                      {"step_next4", "Zum nächsten Schritt...", {}, {450, 190, 170, 30}},
                      WindowId::RAD_Optionen};
    ParameterField visvalues{*this, "visvalues"};
};

} // namespace kelvane

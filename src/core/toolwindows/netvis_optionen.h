#pragma once

#include "toolwindows/tool_window.h"

namespace kelvane {

// The switches of NETVIS, the visibility compiler shared over the network: one set for a
// computer that serves, one for a computer that connects to it, both in one line.
class NETVIS_Optionen : public ToolWindow
{
public:
    explicit NETVIS_Optionen(Services &services)
        : ToolWindow(WindowId::NETVIS_Optionen, "Kelvane - NETVIS-Optionen", "Netvis", services)
    {}

    static const OptionTable &table();

    Label NETVISoptionsINFO{
        *this,
        {"NETVISoptionsINFO", "Wählen Sie hier die NETVIS-Optionen aus.", {}, {20, 10, 600, 20}}};
    Switches switches{*this, table()};
    Button step_next5{*this,
                      {"step_next5", "Zum nächsten Schritt...", {}, {450, 182, 170, 30}},
                      WindowId::RAD_Optionen};
    ParameterField netvisvalues{*this, "netvisvalues"};
};

} // namespace kelvane

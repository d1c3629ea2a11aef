#pragma once

#include "toolwindows/tool_window.h"

namespace kelvane {

// The switches of HLCSG, the first compiler of the chain.
class CSG_Optionen : public ToolWindow
{
public:
    explicit CSG_Optionen(Services &services)
        : ToolWindow(WindowId::CSG_Optionen, "Kelvane - CSG-Optionen", "Csg", services)
    {}

    static const OptionTable &table();

    Label CSGoptionsINFO{
        *this, {"CSGoptionsINFO", "Wählen Sie hier die CSG-Optionen aus.", {}, {20, 10, 600, 20}}};
    Switches switches{*this, table()};
    Button step_next2{*this,
                      {"step_next2", "Zum nächsten Schritt...", {}, {450, 190, 170, 30}},
                      WindowId::BSP_Optionen};
    ParameterField csgvalues{*this, "csgvalues"};
};

} // namespace kelvane

#pragma once

#include "toolwindows/tool_window.h"

namespace kelvane {

// The switches of HLRAD, the lighting compiler and the last of the chain: the densest window,
// with sixteen switches without a value above nineteen with one.
class RAD_Optionen : public ToolWindow
{
public:
    explicit RAD_Optionen(Services &services)
        : ToolWindow(WindowId::RAD_Optionen, "Kelvane - RAD-Optionen", "Rad", services)
    {}

    static const OptionTable &table();

    // Named like the CSG window's label.
    Label CSGoptionsINFO{
        *this, {"CSGoptionsINFO", "Wählen Sie hier die RAD-Optionen aus.", {}, {20, 10, 600, 20}}};
    Switches switches{*this, table()};
    Button compile{
        *this, {"compile", "Kompilieren...", {}, {450, 182, 170, 30}}, WindowId::end_window};
    ParameterField radvalues{*this, "radvalues"};
};

} // namespace kelvane

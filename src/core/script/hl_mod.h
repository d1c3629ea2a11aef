#pragma once

#include "app/window.h"

namespace kelvane {

// The Half-Life directory and the directory of the MOD the map is made for.
class HL_MOD : public Window
{
public:
    explicit HL_MOD(Services &services)
        : Window(WindowId::HL_MOD, "Kelvane - Half-Life und MOD-Verzeichnis", "Hlmod", services)
    {}

    Button step_next6{*this, {"step_next6", "Zum nächsten Schritt...", {}, {470, 200, 150, 30}},
                      WindowId::CSG_Optionen};
};

} // namespace kelvane

#pragma once

#include "app/window.h"

namespace kelvane {

// What the program tells about itself; opened beside the current window.
class About : public Window
{
public:
    explicit About(Services &services) : Window(WindowId::About, "About", "", services) {}

    Button cmdOK{*this, {"cmdOK", "OK", {}, {500, 20, 110, 30}}};
    Button cmdSysInfo{*this, {"cmdSysInfo", "&System Info...", {}, {500, 60, 110, 30}}};
};

} // namespace kelvane

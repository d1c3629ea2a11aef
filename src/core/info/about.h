#pragma once

#include "app/window.h"

namespace kelvane {

// What the program tells about itself; opened beside the current window, never modal.
class About : public Window
{
public:
    explicit About(Services &services);

    Size clientSize() const override { return {480, 236}; }

    Label lblTitle{*this,
                   {"lblTitle", "Kelvane  - Deutsche Version (v2.7 Final)", {}, {16, 14, 448, 24}},
                   {"Tahoma", false}};
    // Runs of blanks break the lines of the two longer labels.
    Label lblDescription{*this,
                         {"lblDescription",
                          "Version 2.7 Systemanforderungen:         PC mit Windows "
                          "9x/ME/NT/2000/XP       Pentium 166 MHz oder besser                 "
                          "32MB RAM",
                          {},
                          {16, 44, 448, 80}},
                         {"Tahoma", true}};
    Separator Line1{*this, {"Line1", {}, {}, {16, 134, 448, 3}}};
    Label lblDisclaimer{
        *this, {"lblDisclaimer", disclaimerText(), {}, {16, 148, 324, 76}}, {"Tahoma", false}};
    Button cmdOK{*this, {"cmdOK", "OK", {}, {352, 150, 112, 30}}, Button::Default | Button::Cancel};
    Button cmdSysInfo{*this, {"cmdSysInfo", "&System Info...", {}, {352, 190, 112, 30}}};

    // Starts the system's system-information program, or says that there is none.
    void StartSysInfo();

private:
    static std::string disclaimerText();
};

} // namespace kelvane

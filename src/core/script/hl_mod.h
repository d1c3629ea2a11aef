#pragma once

#include "app/window.h"

namespace kelvane {

// The Half-Life directory and the directory of the MOD the map is made for. The MOD list
// follows the Half-Life list, so that the MOD is picked among the Half-Life directory's
// sub-directories.
class HL_MOD : public Window
{
public:
    explicit HL_MOD(Services &services);

    Label HLdirLABEL{*this,
                     {"HLdirLABEL",
                      "Wählen Sie hier das Verzeichnis in dem Half-Life installiert ist.",
                      {},
                      {20, 10, 600, 20}}};
    DriveList HLDrive{
        *this,
        {"HLDrive", {}, "Das Laufwerk, auf dem Half-Life installiert ist.", {20, 36, 290, 24}}};
    DirectoryList HLDir{
        *this,
        {"HLDir", {}, "Das Verzeichnis, in dem Half-Life installiert ist.", {330, 36, 290, 160}}};
    Button step_next6{*this,
                      {"step_next6", "Zum nächsten Schritt...", {}, {450, 206, 170, 30}},
                      WindowId::CSG_Optionen};
    Label Label1{*this,
                 {"Label1",
                  "Wählen Sie hier das Verzeichnis des MODs ( für Half-Life bitte das "
                  "Verzeichnis \"valve\" ).",
                  {},
                  {20, 246, 600, 20}}};
    DriveList MODDrive{
        *this,
        {"MODDrive", {}, "Das Laufwerk, auf dem die MOD installiert ist.", {20, 272, 290, 24}}};
    DirectoryList MODDir{
        *this,
        {"MODDir", {}, "Das Verzeichnis, in dem die MOD installiert ist.", {330, 272, 290, 168}}};

    // The MOD name handed to Half-Life: the last component of the MOD directory. A drive root
    // has none, so the list first goes to that drive's current directory and the name is taken
    // from there; the list stays there.
    std::string takeModName();

private:
    void HLDrive_changed();
    void HLDir_changed();
    void MODDrive_changed();
    void MODDir_changed();
};

} // namespace kelvane

#pragma once

#include "app/window.h"

namespace kelvane {

// The first step: the tools directory, the map file and the compilers to run.
class start_window : public Window
{
public:
    explicit start_window(Services &services);

    bool leave() override;

    Label ZHLTdirLABEL{*this, {"ZHLTdirLABEL",
                               "Geben Sie hier das Verzeichnis an, wo Zoner´s Half-Life Tools "
                               "liegen.",
                               {}, {20, 10, 600, 20}}};
    DriveList ZHLTDrive{*this, {"ZHLTDrive", {}, "Das Laufwerk, auf dem die ZHLT liegen.",
                                {20, 36, 290, 24}}};
    DirectoryList ZHLTDir{*this, {"ZHLTDir", {}, "Das Verzeichnis, in dem die ZHLT liegen.",
                                  {20, 66, 290, 140}}};
    Label Label1{*this, {"Label1", "Wählen Sie die Compiler die benutzt werden sollen.", {},
                         {330, 36, 290, 40}}};
    GroupBox Frame1{*this, {"Frame1", {}, {}, {330, 80, 290, 52}}};
    CheckBox use_csg{*this, {"use_csg", "CSG", {}, {336, 98, 55, 24}, &Frame1}};
    CheckBox use_bsp{*this, {"use_bsp", "BSP", {}, {391, 98, 52, 24}, &Frame1}};
    CheckBox use_vis{*this, {"use_vis", "VIS", {}, {443, 98, 49, 24}, &Frame1}};
    CheckBox use_netvis{*this, {"use_netvis", "NETVIS", {}, {492, 98, 73, 24}, &Frame1}};
    CheckBox use_rad{*this, {"use_rad", "RAD", {}, {565, 98, 53, 24}, &Frame1}};
    Label MAPlocationLABEL{*this, {"MAPlocationLABEL",
                                   "Wählen Sie die .map-Datei aus, die kompiliert werden soll.",
                                   {}, {20, 218, 600, 20}}};
    DriveList MAPDrive{*this, {"MAPDrive", {}, "Das Laufwerk, auf dem die .map liegt.",
                               {20, 244, 290, 24}}};
    DirectoryList MAPDir{*this, {"MAPDir", {}, "Das Verzeichnis, in dem die .map liegt.",
                                 {20, 274, 290, 136}}};
    FileList MAPFile{*this,
                     {"MAPFile", {}, "Der Name der .map, die kompiliert werden soll.",
                      {330, 244, 290, 166}},
                     "*.map"};
    Button step_next1{*this, {"step_next1", "Zum nächsten Schritt...", {}, {450, 418, 170, 30}},
                      WindowId::HL_MOD};
    Button step_next_8{*this, {"step_next_8", "Zu den Presets", {}, {270, 418, 170, 30}},
                       WindowId::presets};

protected:
    void firstStart() override;

private:
    void ZHLTDrive_changed();
    void MAPDrive_changed();
    void MAPDir_changed();
    void MAPDir_clicked();
};

} // namespace kelvane

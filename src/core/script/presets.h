#pragma once

#include "app/window.h"
#include "script/presets_script.h"

#include <utility>

namespace kelvane {

class WindowSet;

// Compiles the map chosen on the start window with one of seven ready-made switch sets,
// without the option windows, and ends the program once the script runs.
class presets : public Window
{
public:
    presets(Services &services, WindowSet &windows);

    Label BSPoptionsINFO{*this,
                         {"BSPoptionsINFO",
                          "Wählen Sie ein Preset ( Presets von Quellor sind mit einem * "
                          "gekennzeichnet )",
                          {},
                          {16, 8, 608, 20}}};
    GroupBox beta{*this, {"beta", "Presets für die Beta-Phase", {}, {8, 32, 624, 130}}};
    CheckBox leaks{*this,
                   {"leaks",
                    "Leak-Suche ( was Leaks sind könnt ihr bei "
                    "developer.valvesoftware.com/wiki/Leak erfahren )",
                    {},
                    {16, 52, 608, 24},
                    &beta}};
    CheckBox fastcompile{*this,
                         {"fastcompile",
                          "Schnelles kompilieren ( schnelles VIS, RAD ohne extra und "
                          "bounce 0 ) *",
                          {},
                          {16, 78, 608, 24},
                          &beta}};
    CheckBox entityupdate{*this,
                          {"entityupdate",
                           "Entity Update ( nur CSG mit -onlyents und BSP | kein Licht "
                           "wird verändert ) *",
                           {},
                           {16, 104, 608, 24},
                           &beta}};
    CheckBox lichtupdate{*this,
                         {"lichtupdate",
                          "Licht Update ( Lichtveränderungen werden übernommen | vorher "
                          "muss einmal mit -incremental kompiliert sein )",
                          {},
                          {16, 130, 608, 24},
                          &beta}};
    Button compile_presets{*this,
                           {"compile_presets", "Kompilieren starten...", {}, {474, 166, 150, 28}}};
    GroupBox voll{*this,
                  {"voll", "Presets für Pre-Release und Final-Release", {}, {8, 200, 624, 104}}};
    CheckBox qualitaet{*this,
                       {"qualitaet",
                        "Lichtqualitätstest ( schnelles Kompilieren mit vielen Details ) *",
                        {},
                        {16, 220, 608, 24},
                        &voll}};
    CheckBox prerelease{*this,
                        {"prerelease",
                         "Kompilieren für Pre-Release ( volles VIS, RAD mit bounce 5 )",
                         {},
                         {16, 246, 608, 24},
                         &voll}};
    CheckBox finalrelease{
        *this,
        {"finalrelease", "Final Release ( maximale Details ) *", {}, {16, 272, 608, 24}, &voll}};
    GroupBox after_compile{*this,
                           {"after_compile", "Nach-kompilier-Optionen", {}, {8, 312, 624, 80}}};
    CheckBox start_hl_check{*this,
                            {"start_hl_check",
                             "Nach dem Kompilieren Half-Life starten",
                             "Startet Half-Life nach dem Kompilieren",
                             {16, 332, 262, 24},
                             &after_compile}};
    CheckBox copy_bsp{*this,
                      {"copy_bsp",
                       "Die kompilierte .bsp in den \"maps\"-Ordner des MODs kopieren",
                       "Kopiert die .bsp in den maps-Ordner",
                       {284, 332, 340, 24},
                       &after_compile}};
    CheckBox exit_win{*this,
                      {"exit_win",
                       "Den PC nach Beendigung des Kompiliervorgangs herunterfahren ( nur "
                       "Win9X / ME )",
                       "Fährt den PC herunter, sobald das Kompilieren beendet ist",
                       {16, 358, 608, 24},
                       &after_compile}};

private:
    void compile_presets_clicked();
    // The preset whose tool lines the script runs: the last checked box in table order.
    std::optional<script::Preset> chosenPreset() const;

    WindowSet &m_windows;
    const std::pair<CheckBox *, script::Preset> m_presetBoxes[7] = {
        {&leaks, script::Preset::leaks},
        {&fastcompile, script::Preset::fastcompile},
        {&entityupdate, script::Preset::entityupdate},
        {&lichtupdate, script::Preset::lichtupdate},
        {&qualitaet, script::Preset::qualitaet},
        {&prerelease, script::Preset::prerelease},
        {&finalrelease, script::Preset::finalrelease},
    };
};

} // namespace kelvane

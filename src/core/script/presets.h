#pragma once

#include "app/window.h"
#include "script/after_compile_boxes.h"
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
                          {20, 10, 600, 20}}};
    GroupBox beta{*this, {"beta", "Presets für die Beta-Phase", {}, {20, 34, 600, 146}}};
    CheckBox leaks{*this,
                   {"leaks",
                    "Leak-Suche ( was Leaks sind könnt ihr bei "
                    "developer.valvesoftware.com/wiki/Leak erfahren )",
                    {},
                    {26, 54, 588, 24},
                    &beta}};
    CheckBox fastcompile{*this,
                         {"fastcompile",
                          "Schnelles kompilieren ( schnelles VIS, RAD ohne extra und "
                          "bounce 0 ) *",
                          {},
                          {26, 80, 588, 24},
                          &beta}};
    CheckBox entityupdate{*this,
                          {"entityupdate",
                           "Entity Update ( nur CSG mit -onlyents und BSP | kein Licht "
                           "wird verändert ) *",
                           {},
                           {26, 106, 588, 24},
                           &beta}};
    CheckBox lichtupdate{*this,
                         {"lichtupdate",
                          "Licht Update ( Lichtveränderungen werden übernommen | vorher "
                          "muss einmal mit -incremental kompiliert sein )",
                          {},
                          {26, 132, 588, 40},
                          &beta}};
    Button compile_presets{*this,
                           {"compile_presets", "Kompilieren starten...", {}, {450, 186, 170, 30}}};
    GroupBox voll{*this,
                  {"voll", "Presets für Pre-Release und Final-Release", {}, {20, 222, 600, 102}}};
    CheckBox qualitaet{*this,
                       {"qualitaet",
                        "Lichtqualitätstest ( schnelles Kompilieren mit vielen Details ) *",
                        {},
                        {26, 242, 588, 24},
                        &voll}};
    CheckBox prerelease{*this,
                        {"prerelease",
                         "Kompilieren für Pre-Release ( volles VIS, RAD mit bounce 5 )",
                         {},
                         {26, 268, 588, 24},
                         &voll}};
    CheckBox finalrelease{
        *this,
        {"finalrelease", "Final Release ( maximale Details ) *", {}, {26, 294, 588, 24}, &voll}};
    AfterCompileBoxes afterCompile{
        *this, {{20, 330, 600, 106}, {26, 350, 588, 24}, {26, 376, 588, 24}, {26, 402, 588, 24}}};
    GroupBox &after_compile = afterCompile.after_compile;
    CheckBox &start_hl_check = afterCompile.start_hl_check;
    CheckBox &copy_bsp = afterCompile.copy_bsp;
    CheckBox &exit_win = afterCompile.exit_win;

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

#pragma once

#include "app/window.h"

namespace kelvane {

class WindowSet;

// Compiles the chosen map with one of the ready-made switch sets.
class presets : public Window
{
public:
    presets(Services &services, WindowSet &windows)
        : Window(WindowId::presets, "Kelvane - Presets", "Presets", services)
        , m_windows(windows)
    {}

    Button compile_presets{*this, {"compile_presets", "Kompilieren starten...", {}, {470, 200, 150, 30}}};

private:
    WindowSet &m_windows;
};

} // namespace kelvane

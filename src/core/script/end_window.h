#pragma once

#include "app/window.h"

namespace kelvane {

class WindowSet;

// The last step: gathers every other window's choices and writes the compile script.
class end_window : public Window
{
public:
    end_window(Services &services, WindowSet &windows)
        : Window(WindowId::end_window, "Kelvane - Wichtigstes Fenster", "End", services)
        , m_windows(windows)
    {}

    Button start_compile{*this, {"start_compile", "Kompilieren starten...", {}, {470, 300, 150, 30}}};

private:
    WindowSet &m_windows;
};

} // namespace kelvane

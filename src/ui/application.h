#pragma once

#include <functional>

namespace kelvane {

// What the desktop knows the program by: its name and version, its icon on every window and
// message box, and the desktop entry its windows belong to.
void presentApplication();
// The icon alone, once: the program sets it after its first window is painted, or before a
// message box that comes first.
void presentProgramIcon();

// The whole program: wires the settings store, the platform and the Qt services to a window
// set, shows the start window and runs until the user ends the program. `onFirstShown` runs
// once, right after the first window has been painted (the start-up benchmark ends there).
int runKelvane(int argc, char **argv, std::function<void()> onFirstShown = {});

} // namespace kelvane

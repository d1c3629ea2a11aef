#pragma once

#include <functional>

namespace kelvane {

// The whole program: wires the settings store, the platform and the Qt services to a window
// set, shows the start window and runs until the user ends the program. `onFirstShown` runs
// once, right after the first window has been painted (the start-up benchmark ends there).
int runKelvane(int argc, char **argv, std::function<void()> onFirstShown = {});

} // namespace kelvane

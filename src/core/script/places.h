#pragma once

#include "script/compile_script.h"

namespace kelvane {

class start_window;
class HL_MOD;

// The places as the two windows show them at this moment. A MOD directory at a drive root
// moves its list to that drive's current directory for the MOD name.
script::Places placesFrom(start_window &start, HL_MOD &hlMod);

} // namespace kelvane

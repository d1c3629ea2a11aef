#pragma once

#include "app/platform.h"

namespace kelvane::win32 {

// Hands a file, a program or an address to the shell's "open" action in a normal window and
// returns once it is started, without waiting for it to end. No box of the shell's own shows a
// failure: `failureText` opens the message the caller gets, the reason follows it. A program
// gets `parameters` as its command line.
Outcome shellOpen(std::string_view target, std::string_view workingDirectory,
                  const std::string &failureText, std::string_view parameters = {});

} // namespace kelvane::win32

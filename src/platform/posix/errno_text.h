#pragma once

#include <string>

namespace kelvane {

// The reason behind a failed system call, as a German sentence for a message box. The C library's
// own texts follow the locale and are often English or terse, so the common cases are worded here.
std::string errnoText(int error);

} // namespace kelvane

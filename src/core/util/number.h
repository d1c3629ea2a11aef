#pragma once

#include <string_view>

namespace kelvane {

// The number a text begins with, as the limit checks read a value field: leading blanks are
// skipped, then an optional sign, digits with "." as the decimal point and an optional
// exponent are taken; reading stops at the first character that cannot continue the number.
// A text that does not begin with a number reads as 0 ("7 Kerne" is 7, "2,5" is 2, "abc" is 0).
double leadingNumber(std::string_view text);

} // namespace kelvane

#pragma once

#include "platform/win32/windows_api.h"

#include <optional>
#include <string>
#include <string_view>

// The core speaks UTF-8; Windows speaks UTF-16 in its W functions and a code page in its A
// functions. These convert at that edge. Lengths are explicit throughout, so zero characters
// inside a text survive every conversion.
namespace kelvane::win32 {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view wide);

// The text in the given code page, byte for byte; none when a character has no exact
// counterpart there (a look-alike substitute would silently name another file or value) or when
// the text is not valid UTF-8.
std::optional<std::string> toCodePage(std::string_view utf8, UINT codePage);
// Bytes in the given code page as UTF-8.
std::string fromCodePage(std::string_view bytes, UINT codePage);

// The reason behind a failed call, as a German sentence for a message box.
std::string errorText(DWORD error);

} // namespace kelvane::win32

#pragma once

#include "app/platform.h"

namespace kelvane {

// Writes a file so that it is either the old one or the whole new one, never a part of either:
// the bytes go to a new file beside it, which then takes the old one's place.
class Win32TextFileWriter : public TextFileWriter
{
public:
    Outcome writeFile(std::string_view dosPath, std::string_view bytes) override;
};

} // namespace kelvane

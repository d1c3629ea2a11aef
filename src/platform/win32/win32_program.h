#pragma once

#include "app/platform.h"

namespace kelvane {

// Where the program lives (the directory of its own .exe) and where it keeps the user's files
// (%LOCALAPPDATA%\Kelvane).
class Win32ProgramInfo : public ProgramInfo
{
public:
    std::string programDirectory() override;
    // Creates the directory on first use.
    std::string userDataDirectory() override;
};

} // namespace kelvane

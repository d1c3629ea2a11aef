#pragma once

#include "app/platform.h"

namespace kelvane {

// Starts scripts and programs through the shell, in a normal window, without waiting.
class Win32ProgramLauncher : public ProgramLauncher
{
public:
    // The script runs in its own directory.
    Outcome startScript(std::string_view dosPath) override;
    Outcome startProgram(std::string_view dosPath) override;
    // The command interpreter reads a batch file in the console's code page, which is the
    // system's OEM code page.
    unsigned scriptCodePage() override;
};

} // namespace kelvane

#pragma once

#include "app/platform.h"

namespace kelvane {

// Stands in for starting programs until the platform can do it: every start is refused with a
// message the user can read.
class UnavailableProgramLauncher : public ProgramLauncher
{
public:
    Outcome startScript(std::string_view) override { return refusal(); }
    Outcome startProgram(std::string_view) override { return refusal(); }

private:
    static Failure refusal()
    {
        return Failure{"Das Starten von Programmen ist noch nicht eingebaut."};
    }
};

} // namespace kelvane

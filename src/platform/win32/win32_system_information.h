#pragma once

#include "app/platform.h"

namespace kelvane {

// Windows names its system-information program in the machine's registry.
class Win32SystemInformation : public SystemInformation
{
public:
    std::optional<std::string> GetKeyValue(int rootIndex, std::string_view key,
                                           std::string_view valueName) override;
    Outcome startDesktopProgram() override;
};

} // namespace kelvane

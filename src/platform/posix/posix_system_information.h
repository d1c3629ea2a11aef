#pragma once

#include "app/platform.h"

#include <chrono>
#include <string>
#include <vector>

namespace kelvane {

// Linux has no registry that names a system-information program: the desktop's own is looked
// for among the common ones instead.
class PosixSystemInformation : public SystemInformation
{
public:
    // The programs tried in turn, each a name looked up on PATH or a path of its own.
    static std::vector<std::string> commonPrograms();

    explicit PosixSystemInformation(std::vector<std::string> programs = commonPrograms());

    std::optional<std::string> GetKeyValue(int rootIndex, std::string_view key,
                                           std::string_view valueName) override;
    Outcome startDesktopProgram() override;

    // How long a program that fails at once is waited for.
    void setStartupGrace(std::chrono::milliseconds grace) { m_grace = grace; }

private:
    std::vector<std::string> m_programs;
    std::chrono::milliseconds m_grace{400};
};

} // namespace kelvane

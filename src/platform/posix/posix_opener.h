#pragma once

#include "app/platform.h"
#include "platform/posix/wine_paths.h"

namespace kelvane {

// Hands documents and links to the desktop's opener program, which picks the application.
class PosixDesktopOpener : public DesktopOpener
{
public:
    // program: the opener, a name looked up on PATH or a path of its own.
    explicit PosixDesktopOpener(WineDrives drives, std::string program = "xdg-open");

    Outcome openDocument(std::string_view dosPath) override;
    Outcome openUrl(std::string_view url) override;

private:
    // Starts the opener with one argument and returns at once.
    Outcome start(const std::string &argument);

    WineDrives m_drives;
    std::string m_program;
};

} // namespace kelvane

#pragma once

#include "app/platform.h"
#include "platform/posix/wine_paths.h"

namespace kelvane {

// Hands documents and links to the desktop's opener program, which picks the application.
class PosixDesktopOpener : public DesktopOpener
{
public:
    // program: the opener, a name looked up on PATH or a path of its own; mimeQuery: the
    // program that tells which application the desktop has for a type of document.
    explicit PosixDesktopOpener(WineDrives drives, std::string program = "xdg-open",
                                std::string mimeQuery = "xdg-mime");

    Outcome openDocument(std::string_view dosPath) override;
    Outcome openUrl(std::string_view url) override;
    // True when the desktop names an application for either type a help file goes by.
    bool hasHelpViewer() override;
    // The viewers have no common way to be handed a page, so the file opens at its start.
    Outcome openHelpPage(std::string_view chmPath, std::string_view page) override;

private:
    // Starts the opener with one argument and returns at once.
    Outcome start(const std::string &argument);

    WineDrives m_drives;
    std::string m_program;
    std::string m_mimeQuery;
};

} // namespace kelvane

#pragma once

#include "app/platform.h"

namespace kelvane {

// Opens documents and links with the programs that the system associates with them.
class Win32DesktopOpener : public DesktopOpener
{
public:
    Outcome openDocument(std::string_view dosPath) override;
    // Only an address with a scheme ("https:", "mailto:") is opened: the shell would start a
    // program named by anything else.
    Outcome openUrl(std::string_view url) override;
    // The system's help viewer (hh.exe) comes with every Windows.
    bool hasHelpViewer() override { return true; }
    Outcome openHelpPage(std::string_view chmPath, std::string_view page) override;
};

} // namespace kelvane

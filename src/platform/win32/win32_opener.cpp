#include "platform/win32/win32_opener.h"

#include "platform/win32/win32_shell.h"

#include <cctype>

namespace kelvane {

namespace {

// A scheme is a letter, then letters, digits, "+", "-" or "."; one letter alone is a drive.
bool hasScheme(std::string_view url)
{
    const std::size_t colon = url.find(':');
    if (colon == std::string_view::npos || colon < 2 ||
        !std::isalpha(static_cast<unsigned char>(url[0])))
        return false;
    for (std::size_t i = 1; i < colon; ++i) {
        const unsigned char c = static_cast<unsigned char>(url[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.')
            return false;
    }
    return true;
}

} // namespace

Outcome Win32DesktopOpener::openDocument(std::string_view dosPath)
{
    return win32::shellOpen(
        dosPath, {}, "Die Datei \"" + std::string(dosPath) + "\" konnte nicht geöffnet werden:");
}

Outcome Win32DesktopOpener::openUrl(std::string_view url)
{
    const std::string failure =
        "Die Adresse \"" + std::string(url) + "\" konnte nicht geöffnet werden:";
    if (!hasScheme(url))
        return Failure{failure + " Sie ist keine Web- oder Mail-Adresse."};
    return win32::shellOpen(url, {}, failure);
}

Outcome Win32DesktopOpener::openHelpPage(std::string_view chmPath, std::string_view page)
{
    // The viewer takes "file::/page" as one argument and opens the file at that page.
    const std::string topic = "\"" + std::string(chmPath) + "::/" + std::string(page) + "\"";
    return win32::shellOpen(
        "hh.exe", {},
        "Die Hilfedatei \"" + std::string(chmPath) + "\" konnte nicht geöffnet werden:", topic);
}

} // namespace kelvane

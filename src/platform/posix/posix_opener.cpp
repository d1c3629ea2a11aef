#include "platform/posix/posix_opener.h"

#include "platform/posix/process.h"

#include <chrono>
#include <optional>
#include <sys/stat.h>

namespace kelvane {

PosixDesktopOpener::PosixDesktopOpener(WineDrives drives, std::string program,
                                       std::string mimeQuery)
    : m_drives(std::move(drives))
    , m_program(std::move(program))
    , m_mimeQuery(std::move(mimeQuery))
{}

Outcome PosixDesktopOpener::openDocument(std::string_view dosPath)
{
    const std::optional<std::string> path = m_drives.toUnix(dosPath);
    struct stat st;
    if (!path || ::stat(path->c_str(), &st) != 0)
        return Failure{"Die Datei \"" + m_drives.shown(dosPath) + "\" wurde nicht gefunden."};
    return start(*path);
}

Outcome PosixDesktopOpener::openUrl(std::string_view url)
{
    // The opener would take a leading dash for one of its options.
    if (url.empty() || url.front() == '-')
        return Failure{"Die Adresse \"" + std::string(url) + "\" kann nicht geöffnet werden."};
    return start(std::string(url));
}

bool PosixDesktopOpener::hasHelpViewer()
{
    const std::optional<std::string> query = findProgram(m_mimeQuery);
    if (!query)
        return false;
    for (const char *type : {"application/vnd.ms-htmlhelp", "application/x-chm"}) {
        const std::optional<std::string> application =
            outputOf(*query, {m_mimeQuery, "query", "default", type}, std::chrono::seconds(2));
        if (application && application->find_first_not_of(" \t\r\n") != std::string::npos)
            return true;
    }
    return false;
}

Outcome PosixDesktopOpener::openHelpPage(std::string_view chmPath, std::string_view /*page*/)
{
    return openDocument(chmPath);
}

Outcome PosixDesktopOpener::start(const std::string &argument)
{
    const std::optional<std::string> program = findProgram(m_program);
    if (!program) {
        return Failure{"Das Programm \"" + m_program +
                       "\" wurde nicht gefunden. Es wird gebraucht, um Dokumente und Webseiten "
                       "mit dem Programm zu öffnen, das der Desktop dafür vorsieht (unter Debian "
                       "und Ubuntu mit: sudo apt install xdg-utils)."};
    }

    return startDetached(*program, {m_program, argument}, {}, std::chrono::milliseconds::zero(),
                         m_program);
}

} // namespace kelvane

#include "app/help_file.h"

#include "app/services.h"
#include "util/dos_path.h"

namespace kelvane {

std::string helpPage(WindowId window)
{
    return dos::lowered(windowName(window)) + ".html";
}

std::string HelpFile::pageDirectory() const
{
    const std::optional<std::string> directory = dos::parent(m_path);
    return directory ? dos::join(*directory, "hilfe") : std::string();
}

void HelpFile::open(WindowId window)
{
    if (m_path.empty())
        return;
    const std::string page = helpPage(window);
    const bool compiled = m_files.fileExists(m_path);
    if (compiled && m_opener.hasHelpViewer())
        return report(m_opener.openHelpPage(m_path, page));

    const std::string html = dos::join(pageDirectory(), page);
    if (m_files.fileExists(html))
        return report(m_opener.openDocument(html));

    if (!compiled) {
        report(Failure{"Die Hilfedatei \"" + m_files.shownPath(m_path) +
                       "\" wurde nicht gefunden. Sie gehört mit dem Ordner \"hilfe\" neben "
                       "das Programm; installieren Sie Kelvane bitte vollständig neu."});
        return;
    }
    report(Failure{"Für die Hilfedatei \"" + m_files.shownPath(m_path) +
                   "\" ist kein Anzeigeprogramm eingerichtet, und die Seite \"" +
                   m_files.shownPath(html) +
                   "\" fehlt. Bitte installieren Sie ein Programm für CHM-Dateien, zum "
                   "Beispiel xCHM (unter Debian und Ubuntu mit: sudo apt install xchm)."});
}

void HelpFile::report(const Outcome &outcome)
{
    if (outcome)
        m_messages.show(outcome->message, MessageIcon::Information, kInformationTitle);
}

} // namespace kelvane

#include "app/help_file.h"

#include "app/services.h"

namespace kelvane {

void HelpFile::open()
{
    if (m_path.empty())
        return;
    if (!m_files.fileExists(m_path)) {
        m_messages.show("Die Hilfedatei \"" + m_path + "\" wurde nicht gefunden.",
                        MessageIcon::Information, kInformationTitle);
        return;
    }
    if (const Outcome failed = m_opener.openDocument(m_path))
        m_messages.show(failed->message, MessageIcon::Information, kInformationTitle);
}

} // namespace kelvane

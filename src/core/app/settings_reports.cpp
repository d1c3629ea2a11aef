#include "app/settings_reports.h"

#include "app/services.h"

namespace kelvane {

SettingsMessage settingsMessage(const SettingsProblem &problem)
{
    const std::string file = "\"" + problem.file + "\"";
    const std::string notRead = "Ihre gespeicherten Einstellungen in " + file +
                                " konnten nicht gelesen werden. " + problem.reason + "\r\n";
    const std::string notSaved = "Die Einstellungen konnten nicht in " + file +
                                 " gespeichert werden. " + problem.reason + "\r\n";
    switch (problem.kind) {
    case SettingsProblem::Kind::SetAside:
        return {notRead + "Die Datei wurde unverändert als \"" + problem.keptAs +
                    "\" aufbewahrt. Das Programm beginnt mit leeren Einstellungen und legt die "
                    "Datei neu an.",
                MessageIcon::Information, std::string(kInformationTitle)};
    case SettingsProblem::Kind::Unreadable:
        return {notRead + "Das Programm beginnt mit leeren Einstellungen. Solange die Datei dort "
                          "liegt, kann es nichts speichern.",
                MessageIcon::Critical, std::string(kErrorTitle)};
    case SettingsProblem::Kind::Unstorable:
        return {notSaved + "Ändern Sie den Text so, dass er nur solche Zeichen enthält, die "
                           "gespeichert werden können. Bis dahin bleibt der zuletzt gespeicherte "
                           "Wert erhalten.",
                MessageIcon::Critical, std::string(kErrorTitle)};
    case SettingsProblem::Kind::SaveFailed:
        break;
    }
    return {notSaved + "Ihre Änderungen bleiben erhalten, solange das Programm läuft, und werden "
                       "beim nächsten Speichern erneut geschrieben. Wird das Programm vorher "
                       "beendet, gehen sie verloren.",
            MessageIcon::Critical, std::string(kErrorTitle)};
}

RegKey ReportingRegistryBackend::openKey(RegKey parent, std::string_view subKey,
                                         std::uint32_t access)
{
    return reported(m_backend.openKey(parent, subKey, access));
}

RegKey ReportingRegistryBackend::createKey(RegKey parent, std::string_view subKey,
                                           std::uint32_t access)
{
    return reported(m_backend.createKey(parent, subKey, access));
}

std::optional<RegValueInfo> ReportingRegistryBackend::queryValueInfo(RegKey key,
                                                                     std::string_view name)
{
    return reported(m_backend.queryValueInfo(key, name));
}

std::optional<std::string>
ReportingRegistryBackend::queryValueData(RegKey key, std::string_view name, std::size_t bufferSize)
{
    return reported(m_backend.queryValueData(key, name, bufferSize));
}

bool ReportingRegistryBackend::setValue(RegKey key, std::string_view name, std::uint32_t type,
                                        std::string_view data)
{
    return reported(m_backend.setValue(key, name, type, data));
}

void ReportingRegistryBackend::closeKey(RegKey key)
{
    m_backend.closeKey(key);
    report();
}

void ReportingRegistryBackend::beginBatch()
{
    m_backend.beginBatch();
    report();
}

void ReportingRegistryBackend::endBatch()
{
    m_backend.endBatch();
    report();
}

void ReportingRegistryBackend::report()
{
    for (const SettingsProblem &problem : m_backend.takeProblems()) {
        const SettingsMessage message = settingsMessage(problem);
        m_messages.show(message.text, message.icon, message.title);
    }
}

} // namespace kelvane

#pragma once

#include "app/platform.h"
#include "settings/registry_backend.h"

#include <string>

namespace kelvane {

// The message that tells the user of a problem with the settings store.
struct SettingsMessage
{
    std::string text;
    MessageIcon icon = MessageIcon::Information;
    std::string title;
};

SettingsMessage settingsMessage(const SettingsProblem &problem);

// Passes every call on to the backend of the store and, after each, shows what the backend has
// to tell (settings set aside, a save that failed). The store's operations stay silent to their
// callers; this is the program telling the user, at the moment it happens, so that a failed save
// is known while the values can still be saved.
class ReportingRegistryBackend : public RegistryBackend
{
public:
    ReportingRegistryBackend(RegistryBackend &backend, MessageService &messages)
        : m_backend(backend)
        , m_messages(messages)
    {}

    RegKey openKey(RegKey parent, std::string_view subKey, std::uint32_t access) override;
    RegKey createKey(RegKey parent, std::string_view subKey, std::uint32_t access) override;
    std::optional<RegValueInfo> queryValueInfo(RegKey key, std::string_view name) override;
    std::optional<std::string> queryValueData(RegKey key, std::string_view name,
                                              std::size_t bufferSize) override;
    bool setValue(RegKey key, std::string_view name, std::uint32_t type,
                  std::string_view data) override;
    void closeKey(RegKey key) override;
    void beginBatch() override;
    void endBatch() override;

private:
    template <typename Result> Result reported(Result result)
    {
        report();
        return result;
    }
    void report();

    RegistryBackend &m_backend;
    MessageService &m_messages;
};

} // namespace kelvane

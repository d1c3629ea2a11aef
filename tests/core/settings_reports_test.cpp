#include "app/settings_reports.h"
#include "settings/registry.h"
#include "settings/registry_tree.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

// A store in memory that has something to tell after the operations the test picks.
class TroubledBackend : public MemoryRegistryBackend
{
public:
    std::vector<SettingsProblem> takeProblems() override { return std::exchange(pending, {}); }

    std::vector<SettingsProblem> pending;
};

const SettingsProblem kSetAside{SettingsProblem::Kind::SetAside,
                                "/home/me/.config/kelvane/settings.reg",
                                "/home/me/.config/kelvane/settings.reg.unreadable-20260101-120000",
                                "Zeile 4 ist kein gültiger Eintrag."};
const SettingsProblem kUnreadable{SettingsProblem::Kind::Unreadable,
                                  "/home/me/settings.reg",
                                  {},
                                  "Der Zugriff wurde verweigert."};
const SettingsProblem kSaveFailed{SettingsProblem::Kind::SaveFailed,
                                  "/home/me/settings.reg",
                                  {},
                                  "Auf dem Datenträger ist kein Platz mehr frei."};

TEST(SettingsReports, TellsWhereUnreadableSettingsWentAndThatASaveFailed)
{
    const SettingsProblem unstorable{
        SettingsProblem::Kind::Unstorable,
        "HKEY_CURRENT_USER\\Software\\Ostrabel\\Kelvane\\Start",
        {},
        "Der Wert \"mappath\" enthält Zeichen, die die Registrierung hier nicht speichern kann."};
    const std::pair<SettingsProblem, testing::ShownMessage> rows[] = {
        {kSetAside,
         testing::information(
             "Ihre gespeicherten Einstellungen in \"/home/me/.config/kelvane/settings.reg\" "
             "konnten nicht gelesen werden. Zeile 4 ist kein gültiger Eintrag.\r\nDie Datei wurde "
             "unverändert als \"/home/me/.config/kelvane/settings.reg.unreadable-20260101-120000\" "
             "aufbewahrt. Das Programm beginnt mit leeren Einstellungen und legt die Datei neu "
             "an.")},
        {kUnreadable,
         testing::error("Ihre gespeicherten Einstellungen in \"/home/me/settings.reg\" konnten "
                        "nicht gelesen werden. Der Zugriff wurde verweigert.\r\nDas Programm "
                        "beginnt mit leeren Einstellungen. Solange die Datei dort liegt, kann es "
                        "nichts speichern.")},
        {kSaveFailed,
         testing::error("Die Einstellungen konnten nicht in \"/home/me/settings.reg\" gespeichert "
                        "werden. Auf dem Datenträger ist kein Platz mehr frei.\r\nIhre Änderungen "
                        "bleiben erhalten, solange das Programm läuft, und werden beim nächsten "
                        "Speichern erneut geschrieben. Wird das Programm vorher beendet, gehen sie "
                        "verloren.")},
        {unstorable,
         testing::error("Die Einstellungen konnten nicht in "
                        "\"HKEY_CURRENT_USER\\Software\\Ostrabel\\Kelvane\\Start\" gespeichert "
                        "werden. Der Wert \"mappath\" enthält Zeichen, die die Registrierung hier "
                        "nicht speichern kann.\r\nÄndern Sie den Text so, dass er nur solche "
                        "Zeichen enthält, die gespeichert werden können. Bis dahin bleibt der "
                        "zuletzt gespeicherte Wert erhalten.")},
    };
    for (const auto &[problem, shown] : rows) {
        const SettingsMessage message = settingsMessage(problem);
        EXPECT_EQ((testing::ShownMessage{message.text, message.icon, message.title}), shown);
    }
}

// The operations stay silent to their callers; the problems are shown right after the
// operation that met them, each once, in order.
TEST(SettingsReports, ShowsEachProblemOnceRightAfterTheOperationThatMetIt)
{
    TroubledBackend backend;
    testing::FakeMessages messages;
    ReportingRegistryBackend reporting(backend, messages);
    Registry registry(reporting);

    backend.pending = {kSetAside};
    EXPECT_FALSE(registry.KeyExists(kCurrentUser, "Software\\Ostrabel\\Kelvane\\Start"));
    EXPECT_EQ(messages.texts(), std::vector{settingsMessage(kSetAside).text});

    {
        Registry::Batch batch(registry);
        registry.SaveString(kCurrentUser, "Software\\Ostrabel\\Kelvane\\Start", "map", "a.map");
        EXPECT_EQ(messages.shown.size(), 1u);
        backend.pending = {kSaveFailed, kUnreadable};
    }
    EXPECT_EQ(messages.texts(),
              (std::vector{settingsMessage(kSetAside).text, settingsMessage(kSaveFailed).text,
                           settingsMessage(kUnreadable).text}));
    EXPECT_EQ(registry.ReadValue(kCurrentUser, "Software\\Ostrabel\\Kelvane\\Start", "map"),
              "a.map");
    EXPECT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(backend.batchesEnded(), 1);
}

} // namespace
} // namespace kelvane

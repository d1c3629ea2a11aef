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
    EXPECT_EQ(settingsMessage(kSetAside).text,
              "Ihre gespeicherten Einstellungen in \"/home/me/.config/kelvane/settings.reg\" "
              "konnten nicht gelesen werden. Zeile 4 ist kein gültiger Eintrag.\r\n"
              "Die Datei wurde unverändert als "
              "\"/home/me/.config/kelvane/settings.reg.unreadable-20260101-120000\" aufbewahrt. "
              "Das Programm beginnt mit leeren Einstellungen und legt die Datei neu an.");
    EXPECT_EQ(settingsMessage(kSetAside).icon, MessageIcon::Information);
    EXPECT_EQ(settingsMessage(kSetAside).title, "Information");

    EXPECT_EQ(settingsMessage(kUnreadable).text,
              "Ihre gespeicherten Einstellungen in \"/home/me/settings.reg\" konnten nicht "
              "gelesen werden. Der Zugriff wurde verweigert.\r\nDas Programm beginnt mit leeren "
              "Einstellungen. Solange die Datei dort liegt, kann es nichts speichern.");
    EXPECT_EQ(settingsMessage(kUnreadable).title, "Fehler!!!");

    EXPECT_EQ(settingsMessage(kSaveFailed).text,
              "Die Einstellungen konnten nicht in \"/home/me/settings.reg\" gespeichert werden. "
              "Auf dem Datenträger ist kein Platz mehr frei.\r\nIhre Änderungen bleiben "
              "erhalten, solange das Programm läuft, und werden beim nächsten Speichern erneut "
              "geschrieben. Wird das Programm vorher beendet, gehen sie verloren.");
    EXPECT_EQ(settingsMessage(kSaveFailed).icon, MessageIcon::Critical);
    EXPECT_EQ(settingsMessage(kSaveFailed).title, "Fehler!!!");

    const SettingsProblem unstorable{
        SettingsProblem::Kind::Unstorable,
        "HKEY_CURRENT_USER\\Software\\Ostrabel\\Kelvane\\Start",
        {},
        "Der Wert \"mappath\" enthält Zeichen, die die Registrierung hier nicht speichern kann."};
    EXPECT_EQ(
        settingsMessage(unstorable).text,
        "Die Einstellungen konnten nicht in "
        "\"HKEY_CURRENT_USER\\Software\\Ostrabel\\Kelvane\\Start\" gespeichert werden. "
        "Der Wert \"mappath\" enthält Zeichen, die die Registrierung hier nicht speichern "
        "kann.\r\nÄndern Sie den Text so, dass er nur solche Zeichen enthält, die "
        "gespeichert werden können. Bis dahin bleibt der zuletzt gespeicherte Wert erhalten.");
    EXPECT_EQ(settingsMessage(unstorable).title, "Fehler!!!");
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
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, settingsMessage(kSetAside).text);

    {
        Registry::Batch batch(registry);
        registry.SaveString(kCurrentUser, "Software\\Ostrabel\\Kelvane\\Start", "map", "a.map");
        EXPECT_EQ(messages.shown.size(), 1u);
        backend.pending = {kSaveFailed, kUnreadable};
    }
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(messages.shown[1].text, settingsMessage(kSaveFailed).text);
    EXPECT_EQ(messages.shown[2].text, settingsMessage(kUnreadable).text);
    EXPECT_EQ(registry.ReadValue(kCurrentUser, "Software\\Ostrabel\\Kelvane\\Start", "map"),
              "a.map");
    EXPECT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(backend.batchesEnded(), 1);
}

} // namespace
} // namespace kelvane

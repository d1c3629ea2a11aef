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

const SettingsProblem kSetAside{SettingsProblem::Kind::SetAside, "/s.reg", "/s.reg.old",
                                "Zeile 4 ist falsch."};
const SettingsProblem kUnreadable{SettingsProblem::Kind::Unreadable, "/s.reg", {}, "Verweigert."};
const SettingsProblem kSaveFailed{SettingsProblem::Kind::SaveFailed, "/s.reg", {}, "Voll."};

TEST(SettingsReports, TellsWhereUnreadableSettingsWentAndThatASaveFailed)
{
    const SettingsProblem unstorable{
        SettingsProblem::Kind::Unstorable, "HKEY_CURRENT_USER\\Start", {}, "Zeichen."};
    const std::pair<SettingsProblem, testing::ShownMessage> rows[] = {
        {kSetAside, testing::information(
                        "Ihre gespeicherten Einstellungen in \"/s.reg\" konnten nicht gelesen "
                        "werden. Zeile 4 ist falsch.\r\nDie Datei wurde unverändert als "
                        "\"/s.reg.old\" aufbewahrt. Das Programm beginnt mit leeren "
                        "Einstellungen und legt die Datei neu an.")},
        {kUnreadable,
         testing::error("Ihre gespeicherten Einstellungen in \"/s.reg\" konnten nicht gelesen "
                        "werden. Verweigert.\r\nDas Programm beginnt mit leeren Einstellungen. "
                        "Solange die Datei dort liegt, kann es nichts speichern.")},
        {kSaveFailed,
         testing::error("Die Einstellungen konnten nicht in \"/s.reg\" gespeichert werden. "
                        "Voll.\r\nIhre Änderungen bleiben erhalten, solange das Programm läuft, "
                        "und werden beim nächsten Speichern erneut geschrieben. Wird das Programm "
                        "vorher beendet, gehen sie verloren.")},
        {unstorable,
         testing::error("Die Einstellungen konnten nicht in \"HKEY_CURRENT_USER\\Start\" "
                        "gespeichert werden. Zeichen.\r\nÄndern Sie den Text so, dass er nur "
                        "solche Zeichen enthält, die gespeichert werden können. Bis dahin bleibt "
                        "der zuletzt gespeicherte Wert erhalten.")},
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
    const auto text = [](const SettingsProblem &problem) { return settingsMessage(problem).text; };

    backend.pending = {kSetAside};
    EXPECT_FALSE(registry.KeyExists(kCurrentUser, "Software\\Start"));
    EXPECT_EQ(messages.texts(), std::vector{text(kSetAside)});
    {
        Registry::Batch batch(registry);
        registry.SaveString(kCurrentUser, "Software\\Start", "map", "a.map");
        EXPECT_EQ(messages.shown.size(), 1u);
        backend.pending = {kSaveFailed, kUnreadable};
    }
    EXPECT_EQ(messages.texts(),
              (std::vector{text(kSetAside), text(kSaveFailed), text(kUnreadable)}));
    EXPECT_EQ(registry.ReadValue(kCurrentUser, "Software\\Start", "map"), "a.map");
    EXPECT_EQ(backend.batchesEnded(), 1);
}

} // namespace
} // namespace kelvane

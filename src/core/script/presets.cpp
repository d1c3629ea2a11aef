#include "script/presets.h"

#include "app/start_window.h"
#include "app/window_set.h"
#include "script/places.h"
#include "script/script_file.h"

namespace kelvane {

presets::presets(Services &services, WindowSet &windows)
    : Window(WindowId::presets, "Kelvane - Presets", "Presets", services)
    , m_windows(windows)
{
    store("leaks", leaks);
    store("fastcompile", fastcompile);
    store("entityupdate", entityupdate);
    store("lichtupdate", lichtupdate);
    store("qualitaet", qualitaet);
    store("prerelease", prerelease);
    store("finalrelease", finalrelease);
    for (const auto &[name, box] : afterCompile.stored())
        store(name, *box);

    compile_presets.clicked.connect([this] { compile_presets_clicked(); });
}

std::optional<script::Preset> presets::chosenPreset() const
{
    std::optional<script::Preset> chosen;
    for (const auto &[box, preset] : m_presetBoxes)
        if (box->isChecked())
            chosen = preset;
    return chosen;
}

void presets::compile_presets_clicked()
{
    save();
    start_window &start = m_windows.startWindow();
    if (start.MAPFile.chosen().empty()) {
        showError("Sie haben keine .map ausgewählt");
        return;
    }
    script::PresetsScriptInput input;
    input.places = placesFrom(start, m_windows.hlMod());
    input.preset = chosenPreset();
    input.after = afterCompile.chosen();

    if (const Outcome failed = script::writeAndStart(script::presetsScript(input), services())) {
        showError(failed->message);
        return;
    }
    m_windows.end();
}

} // namespace kelvane

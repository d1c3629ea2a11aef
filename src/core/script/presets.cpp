#include "script/presets.h"

#include "app/start_window.h"
#include "app/window_set.h"
#include "script/hl_mod.h"
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
    store("halflife", start_hl_check);
    store("copy", copy_bsp);
    store("shutdown", exit_win);

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
    HL_MOD &hlMod = m_windows.hlMod();

    script::PresetsScriptInput input;
    input.toolsDirectory = start.ZHLTDir.path();
    input.mapDirectory = start.MAPDir.path();
    input.mapFile = start.MAPFile.chosen();
    input.halfLifeDirectory = hlMod.HLDir.path();
    // The MOD directory as chosen, before a drive root moves the list for the MOD name: the
    // copy line then names the root's maps directory, with no second backslash.
    input.modDirectory = hlMod.MODDir.path();
    input.modName = hlMod.takeModName();
    input.preset = chosenPreset();
    input.copyBsp = copy_bsp.isChecked();
    input.startHalfLife = start_hl_check.isChecked();
    input.shutdown = exit_win.isChecked();

    if (const Outcome failed = script::writeAndStart(script::presetsScript(input), services())) {
        showError(failed->message);
        return;
    }
    m_windows.end();
}

} // namespace kelvane

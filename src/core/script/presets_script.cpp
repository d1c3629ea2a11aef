#include "script/presets_script.h"

#include <cassert>

namespace kelvane::script {

const std::vector<PresetToolLine> &toolLinesOf(Preset preset)
{
    // The RAD lines of fastcompile and qualitaet name -estimate twice; the tools take that.
    static const std::vector<PresetToolLine> leaks = {
        {"HLCSG.EXE", {" -estimate", " "}},
        {"HLBSP.EXE", {" -estimate", " -leakonly", " "}},
    };
    static const std::vector<PresetToolLine> fastcompile = {
        {"HLCSG.EXE", {" -estimate", " "}},
        {"HLBSP.EXE", {" -estimate", " "}},
        {"HLVIS.EXE", {" -fast -estimate "}},
        {"HLRAD.EXE", {" -estimate", " -bounce 0 -estimate "}},
    };
    static const std::vector<PresetToolLine> entityupdate = {
        {"HLCSG.EXE", {" -estimate", " -onlyents", " "}},
        {"HLBSP.EXE", {" -estimate", " "}},
    };
    static const std::vector<PresetToolLine> lichtupdate = {
        {"HLCSG.EXE", {" -estimate", " "}},
        {"HLBSP.EXE", {" -estimate", " "}},
        {"HLVIS.EXE", {" -estimate "}},
        {"HLRAD.EXE", {" -estimate", " -smooth 80", " -bounce 5", " -incremental "}},
    };
    static const std::vector<PresetToolLine> qualitaet = {
        {"HLCSG.EXE", {" -estimate", " "}},
        {"HLBSP.EXE", {" -estimate", " "}},
        {"HLVIS.EXE", {" -estimate "}},
        {"HLRAD.EXE", {" -estimate", " -bounce 4 -extra -smooth 35 -estimate "}},
    };
    static const std::vector<PresetToolLine> prerelease = {
        {"HLCSG.EXE", {" -estimate", " "}},
        {"HLBSP.EXE", {" -estimate", " "}},
        {"HLVIS.EXE", {" -estimate", " -full "}},
        {"HLRAD.EXE", {" -estimate", " -smooth 80", " -bounce 5 "}},
    };
    static const std::vector<PresetToolLine> finalrelease = {
        {"HLCSG.EXE", {" -estimate", " -high", " "}},
        {"HLBSP.EXE", {" -estimate", " -high", " "}},
        {"HLVIS.EXE", {" -estimate", " -full", " -high "}},
        {"HLRAD.EXE", {" -high -bounce 10 -extra -smooth 85 -estimate "}},
    };
    switch (preset) {
    case Preset::leaks:
        return leaks;
    case Preset::fastcompile:
        return fastcompile;
    case Preset::entityupdate:
        return entityupdate;
    case Preset::lichtupdate:
        return lichtupdate;
    case Preset::qualitaet:
        return qualitaet;
    case Preset::prerelease:
        return prerelease;
    case Preset::finalrelease:
        return finalrelease;
    }
    assert(false && "every preset has its lines");
    return leaks;
}

Script presetsScript(const PresetsScriptInput &in)
{
    std::vector<BlockLine> block;
    if (in.preset) {
        for (const PresetToolLine &line : toolLinesOf(*in.preset)) {
            ToolRun run{std::string(line.program), {}, {}};
            for (std::string_view piece : line.pieces)
                run.parameters += piece;
            block.push_back(std::move(run));
        }
    }
    return compileScript(in.places, block, in.after, kNoShutdownPresets);
}

} // namespace kelvane::script

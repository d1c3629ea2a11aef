#pragma once

#include "script/compile_script.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane::script {

// The seven ready-made switch sets, in the order the presets window tests its boxes.
enum class Preset {
    leaks,
    fastcompile,
    entityupdate,
    lichtupdate,
    qualitaet,
    prerelease,
    finalrelease
};

inline constexpr std::array kAllPresets = {
    Preset::leaks,     Preset::fastcompile, Preset::entityupdate, Preset::lichtupdate,
    Preset::qualitaet, Preset::prerelease,  Preset::finalrelease};

// One tool line of a preset: the tool's program file and its switch pieces, each exactly as it
// goes into the line (leading and trailing blanks included).
struct PresetToolLine
{
    std::string_view program;
    std::vector<std::string_view> pieces;
};

// The tool lines of a preset, in the order they run.
const std::vector<PresetToolLine> &toolLinesOf(Preset preset);

struct PresetsScriptInput
{
    Places places;
    std::optional<Preset> preset; // none checked: the command block stays empty
    AfterCompile after;
};

// The presets window's compile.bat: the opening lines, the preset's command block (an empty
// line when there is none), and the closing lines, without a line end after the last.
Script presetsScript(const PresetsScriptInput &input);

} // namespace kelvane::script

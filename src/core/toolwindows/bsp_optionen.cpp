#include "toolwindows/bsp_optionen.h"

namespace kelvane {

const OptionTable &BSP_Optionen::table()
{
    static const OptionTable table{
        .groups = {onOffGroup("bsp_an_aus"), parameterGroup("bsp_parameter", 170)},
        .switches =
            {
                common("bsp_chart", "-chart", 1, {0, 0, 0}),
                common("bsp_low", "-low", 2, {0, 0, 1}),
                common("bsp_high", "-high", 3, {0, 0, 2}),
                common("bsp_nolog", "-nolog", 4, {0, 0, 3}),
                common("bsp_estimate", "-estimate", 5, {0, 1, 0}),
                common("bsp_verbose", "-verbose", 6, {0, 1, 1}),
                common("bsp_noinfo", "-noinfo", 7, {0, 1, 2}),
                flag("leakonly", "-leakonly", "Lässt den Compiler nur nach Leaks suchen", 8,
                     {0, 1, 3}),
                flag("notjunc", "-notjunc", "Eine Debugging-Option", 9, {0, 2, 0}),
                common("bsp_noclip", "-noclip", 10, {0, 2, 1}),
                flag("nofill", "-nofill", "Füllt die Außenseiten nicht, was Leaks verdeckt", 11,
                     {0, 2, 2}),
                common("bsp_texdata", "-texdata", 12, {1, 0, 0}),
                common("bsp_threads", "-threads", 13, {1, 0, 1}),
                common("bsp_dev", "-dev", 14, {1, 0, 2}),
                valued("subdivide", "-subdivide", "Stellt die Patchgröße ein", 15, {1, 0, 3},
                       {"subdivide_value", "Wert als Ganzzahl (0-240)", "240"}),
                valued("maxnodesize", "-maxnodesize",
                       "Macht das Gleiche wie subdivide, hat aber kein Maximum", 16, {1, 0, 4},
                       {"maxnodesize_value", "Wert als Ganzzahl (ohne Begrenzung)", ""}),
            },
        // This window says "höchste" where the others say "größte".
        .checks =
            {
                bothChecked("bsp_low", "bsp_high", std::string(kHighAndLow)),
                atMost("bsp_dev", 6, "Der höchste Wert für -dev ist 6"),
                atMost("subdivide", 240, "Der höchste Wert für -subdivide ist 240"),
            },
        .notes =
            {
                {"leakonly", "Bitte deaktivieren Sie alle Compiler außer CSG und BSP sowie alle "
                             "anderen Optionen, da diese für den Leak-Check nicht gebraucht "
                             "werden."},
            },
    };
    return table;
}

} // namespace kelvane

#include "toolwindows/csg_optionen.h"

namespace kelvane {

const OptionTable &CSG_Optionen::table()
{
    static const OptionTable table{
        .groups = {onOffGroup("csg_an_aus"), parameterGroup("csg_parameter", 170)},
        // Three columns of switches without a value, then one row per value switch with
        // -brushunion beside -texdata. The build order is the compiler's, not the screen's.
        .switches =
            {
                common("csg_chart", "-chart", 1, {0, 0, 0}),
                common("csg_low", "-low", 3, {0, 0, 1}),
                common("csg_high", "-high", 5, {0, 0, 2}),
                common("csg_nolog", "-nolog", 7, {0, 0, 3}),
                common("csg_estimate", "-estimate", 2, {0, 1, 0}),
                common("csg_verbose", "-verbose", 4, {0, 1, 1}),
                common("csg_noinfo", "-noinfo", 6, {0, 1, 2}),
                flag("nowadtextures", "-nowadtextures",
                     "Kopiert ALLE benutzten Texturen in die .bsp.", 9, {0, 1, 3}),
                common("noclip", "-noclip", 11, {0, 2, 0}),
                flag("onlyents", "-onlyents",
                     "Aktualisiert nur geänderte Entitieds (keine Lichter!).", 8, {0, 2, 1}),
                flag("noskyclip", "-noskyclip", "Schaltet das Clipping vom Himmel aus.", 10,
                     {0, 2, 2}),
                common("csg_texdata", "-texdata", 12, {1, 0, 0}),
                common("csg_threads", "-threads", 13, {1, 0, 1}),
                common("csg_dev", "-dev", 14, {1, 0, 2}),
                valued("wadinclude", "-wadinclude",
                       "Bestimmt die .wad Dateien, die in die .bsp kopiert werden sollen", 15,
                       {1, 0, 3},
                       {"wadinclude_value", "Liste der .wad Dateien (durch Leerzeichen getrennt)",
                        "zhlt.wad", 280}),
                valued("tiny", "-tiny", "Stellt ein, dass kleine Brushes gelöscht werden", 16,
                       {1, 0, 4},
                       {"tiny_value", "Die Größe unter der ein Brush gelöscht wird", "0.5"}),
                valued("brushunion", "-brushunion", "Warnt vor überlappenden Brushes", 17,
                       {1, 1, 0},
                       {"brushunion_value",
                        "Prozent der Überlappung von zwei Brushes ab wo gewarnt wird", "95"}),
            },
        .checks =
            {
                bothChecked("csg_low", "csg_high", std::string(kHighAndLow)),
                atMost("csg_dev", 6, std::string(kDevAtMostSix)),
            },
        .notes =
            {
                {"onlyents", "Bitte deaktivieren Sie alle Compiler außer CSG und BSP, da bei "
                             "-onlyents nur diese gebraucht werden."},
            },
    };
    return table;
}

} // namespace kelvane

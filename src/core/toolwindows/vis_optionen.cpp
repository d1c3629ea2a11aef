#include "toolwindows/vis_optionen.h"

namespace kelvane {

const OptionTable &VIS_Optionen::table()
{
    static const OptionTable table{
        .groups = {onOffGroup("vis_an_aus"), parameterGroup("vis_parameter", 114)},
        .switches =
            {
                common("vis_chart", "-chart", 1, {0, 0, 0}),
                common("vis_low", "-low", 2, {0, 0, 1}),
                common("vis_high", "-high", 3, {0, 0, 2}),
                common("vis_nolog", "-nolog", 4, {0, 0, 3}),
                common("vis_estimate", "-estimate", 5, {0, 1, 0}),
                common("vis_verbose", "-verbose", 6, {0, 1, 1}),
                common("vis_noinfo", "-noinfo", 7, {0, 1, 2}),
                common("fast", "-fast", 8, {0, 1, 3}),
                common("full", "-full", 9, {0, 2, 0}),
                common("vis_texdata", "-texdata", 10, {1, 0, 0}),
                common("vis_threads", "-threads", 11, {1, 0, 1}),
                common("vis_dev", "-dev", 12, {1, 0, 2}),
            },
        .checks =
            {
                bothChecked("vis_low", "vis_high", std::string(kHighAndLow)),
                bothChecked("fast", "full", std::string(kFastAndFull)),
                atMost("vis_dev", 6, std::string(kDevAtMostSix)),
            },
        .notes = {},
    };
    return table;
}

} // namespace kelvane

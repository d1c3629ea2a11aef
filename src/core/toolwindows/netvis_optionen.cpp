#include "toolwindows/netvis_optionen.h"

#include <array>

namespace kelvane {

namespace {

constexpr int kServer = 0;
constexpr int kClient = 1;

// Three columns of the common switches and a fourth for the computer's role, the same in
// both group boxes.
GroupDef groupAt(std::string name, std::string caption, int y)
{
    GroupDef group;
    group.name = std::move(name);
    group.caption = std::move(caption);
    group.geometry = {20, y, 600, 138};
    group.columns = {{0, 100, 0}, {116, 100, 0}, {232, 84, 50}, {384, 80, 108}};
    return group;
}

// The twelve switches that both sets have, filled column by column.
constexpr std::array<std::string_view, 12> kCommon = {
    "-chart",  "-low",  "-high", "-nolog",   "-estimate", "-verbose",
    "-noinfo", "-fast", "-full", "-texdata", "-threads",  "-dev",
};

// One set's switches: the client's boxes are named "netvisclient_…" and stored behind
// "client_"; each set stores its boxes, then its fields.
void addSet(std::vector<SwitchDef> &switches, int set, int firstPiece)
{
    const std::string prefix = set == kServer ? "netvis_" : "netvisclient_";
    for (std::size_t i = 0; i < kCommon.size(); ++i) {
        const std::string_view switchText = kCommon[i];
        const int index = static_cast<int>(i);
        SwitchDef def = common(prefix + std::string(switchText.substr(1)), switchText,
                               firstPiece + index, {set, index / 4, index % 4});
        if (set == kClient && !def.storedName.empty())
            def.storedName = "client_" + def.storedName;
        def.storeSet = set;
        switches.push_back(std::move(def));
    }
}

std::vector<SwitchDef> allSwitches()
{
    std::vector<SwitchDef> switches;
    addSet(switches, kServer, 1);
    switches.push_back(flag("netvisserver", "-server",
                            "Lässt diesen Computer als NETVIS-Server laufen", 13, {kServer, 3, 0}));
    addSet(switches, kClient, 14);
    SwitchDef connect =
        valued("netvisclient_connect", "-connect", "Lässt diesen Computer als NETVIS-Client laufen",
               26, {kClient, 3, 0}, {"netvisclient_connect_value", "IP oder Name des Servers", ""});
    connect.storedName = "client_connect";
    connect.storeSet = kClient;
    switches.push_back(std::move(connect));
    return switches;
}

} // namespace

const OptionTable &NETVIS_Optionen::table()
{
    static const OptionTable table{
        .groups = {groupAt("netvis_server", "Optionen für den NETVIS Server.", 36),
                   groupAt("netvis_client", "Optionen für den NETVIS Client.", 220)},
        .switches = allSwitches(),
        // Each pair is refused within its own set; the messages do not say which set.
        .checks =
            {
                bothChecked("netvis_high", "netvis_low", std::string(kHighAndLow)),
                bothChecked("netvisclient_high", "netvisclient_low", std::string(kHighAndLow)),
                bothChecked("netvis_fast", "netvis_full", std::string(kFastAndFull)),
                bothChecked("netvisclient_fast", "netvisclient_full", std::string(kFastAndFull)),
                atMost("netvis_dev", 6, std::string(kDevAtMostSix)),
                atMost("netvisclient_dev", 6, std::string(kDevAtMostSix)),
                bothChecked("netvisserver", "netvisclient_connect",
                            "Sie wollen doch nicht wirklich diesen PC als Server und Client "
                            "arbeiten lassen"),
            },
        .notes = {},
    };
    return table;
}

} // namespace kelvane

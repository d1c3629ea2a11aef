#include "script/places.h"

#include "app/start_window.h"
#include "script/hl_mod.h"

namespace kelvane {

script::Places placesFrom(start_window &start, HL_MOD &hlMod)
{
    script::Places places;
    places.toolsDirectory = start.ZHLTDir.path();
    places.mapDirectory = start.MAPDir.path();
    places.mapFile = start.MAPFile.chosen();
    places.halfLifeDirectory = hlMod.HLDir.path();
    // The MOD directory as chosen, before a drive root moves the list for the MOD name: the
    // copy line then names the root's maps directory, with no second backslash.
    places.modDirectory = hlMod.MODDir.path();
    places.modName = hlMod.takeModName();
    return places;
}

} // namespace kelvane

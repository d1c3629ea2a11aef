#include "script/after_compile_boxes.h"

namespace kelvane {

AfterCompileBoxes::AfterCompileBoxes(Window &window, const Places &places)
    : after_compile(window, {"after_compile", "Nach-kompilier-Optionen", {}, places.frame})
    , start_hl_check(window,
                     {"start_hl_check", "Nach dem Kompilieren Half-Life starten",
                      "Startet Half-Life nach dem Kompilieren", places.halfLife, &after_compile})
    , copy_bsp(window, {"copy_bsp", "Die kompilierte .bsp in den \"maps\"-Ordner des MODs kopieren",
                        "Kopiert die .bsp in den maps-Ordner", places.copy, &after_compile})
    , exit_win(window,
               {"exit_win",
                "Den PC nach Beendigung des Kompiliervorgangs herunterfahren ( nur Win9X / ME )",
                "Fährt den PC herunter, sobald das Kompilieren beendet ist", places.shutdown,
                &after_compile})
{}

} // namespace kelvane

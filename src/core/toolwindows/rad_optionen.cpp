#include "toolwindows/rad_optionen.h"

namespace kelvane {

namespace {

// Four columns in each group box, filled column by column. The grid of the values is as wide
// as the window allows: each column is as wide as its longest caption and its values.
GroupDef onOff()
{
    return {"vis_an_aus", "An/Aus Optionen", {10, 36, 620, 138}, 149, 140, 0, {}};
}

GroupDef withValue()
{
    GroupDef group;
    group.name = "vis_parameter";
    group.caption = "Optionen, die einen Parameter benötigen";
    group.geometry = {10, 220, 620, 166};
    group.columns = {{0, 104, 74}, {188, 96, 38}, {332, 70, 38}, {450, 76, 64}};
    return group;
}

ValueDef valueField(std::string name, std::string tooltip, std::string startText = {})
{
    return {std::move(name), std::move(tooltip), std::move(startText)};
}

SwitchDef startsChecked(SwitchDef def)
{
    def.startState = CheckBox::Checked;
    return def;
}

// The caption names what the value holds; the switch and its stored name stay "-ambient".
SwitchDef captioned(std::string caption, SwitchDef def)
{
    def.caption = std::move(caption);
    return def;
}

Check sparseWithoutMatrix()
{
    Check check = bothChecked("sparse", "nomatrix",
                              "Wenn die Vismatrix deaktiviert ist, braucht sie nicht mehr "
                              "kompiliert zu werden");
    // Towards BSP the window has always said what -sparse does.
    check.towards = WindowId::BSP_Optionen;
    check.messageTowards =
        "Wenn die Vismatrix deaktiviert ist, braucht sie nicht mehr komprimiert zu werden";
    return check;
}

// Many bounces only cost time: the user is told, and the line is built all the same.
Check manyBounces()
{
    Check check = atMost(
        "bounce", 20, "Es ist nicht sinnvoll bei -bounce einen größeren Wert als 20 zu benutzen");
    check.goesOn = true;
    check.icon = MessageIcon::Information;
    check.title = "Tamrin informiert";
    return check;
}

} // namespace

const OptionTable &RAD_Optionen::table()
{
    static const OptionTable table{
        .groups = {onOff(), withValue()},
        .switches =
            {
                common("rad_chart", "-chart", 1, {0, 0, 0}),
                common("rad_low", "-low", 2, {0, 0, 1}),
                common("rad_high", "-high", 3, {0, 0, 2}),
                common("rad_nolog", "-nolog", 4, {0, 0, 3}),
                common("rad_estimate", "-estimate", 5, {0, 1, 0}),
                common("rad_verbose", "-verbose", 6, {0, 1, 1}),
                common("rad_noinfo", "-noinfo", 7, {0, 1, 2}),
                flag("sparse", "-sparse", "Komprimiert die vismatrix", 8, {0, 1, 3}),
                flag("nomatrix", "-nomatrix", "Deaktiviert die vismatrix", 9, {0, 2, 0}),
                flag("extra", "-extra", "Schaltet 9-Punkt-Oversampling an (beste Qualität)", 10,
                     {0, 2, 1}),
                flag("circus", "-circus", "Debugging Funktion, die keinen Pixel ganz schwarz lässt",
                     11, {0, 2, 2}),
                flag("nopaque", "-nopaque", "Schaltet alle Entities die Licht blockieren ab", 12,
                     {0, 2, 3}),
                flag("nolerp", "-nolerp", "Schaltet 3-Punkt-Interpolation ab", 13, {0, 3, 0}),
                flag("noskyfix", "-noskyfix", "Schaltet den Skyfix ab", 14, {0, 3, 1}),
                flag("incremental", "-incremental",
                     "Schreibt alle Lichtdaten auf die Festplatte (nähere Informationen in der "
                     "Hilfe)",
                     15, {0, 3, 2}),
                flag("dump", "-dump", "Schreibt ALLE RAD Informationen auf die Festplatte", 16,
                     {0, 3, 3}),

                common("rad_texdata", "-texdata", 17, {1, 0, 0}),
                common("rad_threads", "-threads", 18, {1, 0, 1}),
                common("rad_dev", "-dev", 19, {1, 0, 2}),
                startsChecked(valued(
                    "bounce", "-bounce", "Überarbeitet die Lichtdaten noch mal", 20, {1, 0, 3},
                    valueField("bounce_value",
                               "Wert als Ganzzahl wie oft das Licht überarbeitet werden soll",
                               "10"))),
                captioned("-ambient rgb",
                          valued("ambient", "-ambient", "Schaltet das Umgebungslicht ein", 21,
                                 {1, 0, 4},
                                 valueField("ambient_value",
                                            "Werte für rot, grün und blau für das Umgebungslicht "
                                            "(0.0 bis 1.0)",
                                            "0.5 0.5 0.5"))),
                valued("maxlight", "-maxlight", "Aktiviert maximale Helligkeit des Levels", 22,
                       {1, 1, 0}, valueField("maxlight_value", "Maximale Helligkeit (0-999)")),
                startsChecked(valued(
                    "smooth", "-smooth",
                    "Aktiviert Phong-Schatten falls der Winkel zwischen zwei Brushes kleiner ist "
                    "als der smooth-Wert",
                    23, {1, 1, 1},
                    valueField("smooth_value", "smooth-Wert als Ganzzahl (0-179)", "80"))),
                valued("chop", "-chop", "Stellt eine Licht-Patch Größe ein", 24, {1, 1, 2},
                       valueField("chop_value", "Wert für die Licht-Patch Größe")),
                valued("texchop", "-texchop",
                       "Wie bei -chop, gilt allerdings für leuchtende Texturen", 25, {1, 1, 3},
                       valueField("texchop_value", "Wie bei -chop")),
                valued("notexscale", "-notexscale",
                       "Benutzt den notextscale-Wert für die Größe der chops", 26, {1, 1, 4},
                       valueField("notexscale_value", "notexscale-Wert als Ganzzahl")),
                valued(
                    "coring", "-coring", "Aktiviert ein Helligkeitsminimum für Licht-Entities", 27,
                    {1, 2, 0},
                    valueField("coring_value",
                               "Helligkeitswert unter dem ein Licht als schwarz berechnet wird")),
                valued("dlight", "-dlight", "-maxlight für -dscale", 28, {1, 2, 1},
                       valueField("dlight_value", "dlight-Wert als Ganzzahl")),
                valued("dscale", "-dscale", "Stellt die Intensität für direktes Licht ein", 29,
                       {1, 2, 2}, valueField("dscale_value", "Wert für dscale (0-4)")),
                valued("fade", "-fade", "Aktiviert Reichweitenbegrenzung für Lichter", 30,
                       {1, 2, 3},
                       valueField("fade_value", "Größere Werte bedeuten kürzere Lichter")),
                valued("falloff", "-falloff", "Erklärung in der Hilfe", 31, {1, 2, 4},
                       valueField("falloff_value", "Wert für falloff (1 oder 2)")),
                valued("rad_scale", "-scale", "Ein globaler Lichtwert", 32, {1, 3, 0},
                       valueField("scale_value",
                                  "Niedriger Wert = dunkle Karte, großer Wert = helle Karte")),
                valued("gamma", "-gamma", "Aktiviert den globalen Gammawert", 33, {1, 3, 1},
                       valueField("gamma_value", "Wert als Ganzzahl")),
                valued("sky", "-sky", "Aktiviert Mischung von Sky-Licht und Schatten", 34,
                       {1, 3, 2}, valueField("sky_value", "Wert als Ganzzahl")),
                valued("lights", "-lights", "Aktiviert zusätzliche .rad Dateien", 35, {1, 3, 3},
                       valueField("lights_value",
                                  "Dateiliste, bei der mehrere Dateien durch Leerzeichen getrennt "
                                  "werden",
                                  "lights.rad")),
            },
        .checks =
            {
                bothChecked("rad_high", "rad_low", std::string(kHighAndLow)),
                sparseWithoutMatrix(),
                atMost("rad_dev", 6, std::string(kDevAtMostSix)),
                atMost("maxlight", 999, "Der größte Wert für -maxlight ist 999"),
                atMost("smooth", 179, "Der größte Wert für -smooth ist 179"),
                atMost("dscale", 4, "Der größte Wert für -dscale ist 4"),
                between("falloff", 1, 2, "Bei -falloff sind nur die Werte 1 und 2 zulässig"),
                manyBounces(),
            },
        .notes = {},
    };
    return table;
}

} // namespace kelvane

#include "info/maker.h"

#include "script/script_text.h"

namespace kelvane {

std::string makerMailLink()
{
    return "mailto:" + std::string(kMakerMail) + "?subject=Kelvane";
}

std::string makerPageAddress()
{
    return "https://" + std::string(kMakerPage);
}

std::string creditsText()
{
    return script::joinLines({
        "Vielen Dank an:",
        "das deutsche Beta-Test-Team: Anke Beispiel, Bruno Muster und Carla Probe",
        "das englische Beta-Test-Team: Dave Example, Erin Sample und Finn Placeholder",
        "",
        "Martin Mustermann, der im Forum von www.example.net/forum geduldig alle meine Fragen "
        "zum Programmieren beantwortet hat",
        "Gerrit, Hanna und Ivo aus dem Chat und alle im Kanal #kartenbau, die jeden Abend meine "
        "Chats ertragen",
        "",
        "die Band \"Die Platzhalter\" für ihre Musik (www.example.com/platzhalter)",
    });
}

} // namespace kelvane

#include "platform/posix/errno_text.h"

#include <cerrno>
#include <cstring>

namespace kelvane {

std::string errnoText(int error)
{
    switch (error) {
    case ENOENT:
        return "Der Pfad ist nicht vorhanden.";
    case ENOTDIR:
        return "Ein Teil des Pfades ist kein Verzeichnis.";
    case EACCES:
    case EPERM:
        return "Der Zugriff wurde verweigert.";
    case EISDIR:
        return "Unter diesem Namen gibt es bereits ein Verzeichnis.";
    case ENOSPC:
        return "Auf dem Datenträger ist kein Platz mehr frei.";
    case EDQUOT:
        return "Der Speicherplatz, der Ihnen zusteht, ist aufgebraucht.";
    case EROFS:
        return "Der Datenträger ist schreibgeschützt.";
    case EIO:
        return "Beim Zugriff auf den Datenträger ist ein Ein-/Ausgabefehler aufgetreten.";
    case ENAMETOOLONG:
        return "Der Name ist zu lang.";
    case ELOOP:
        return "Der Pfad enthält zu viele symbolische Verknüpfungen.";
    case EMFILE:
    case ENFILE:
        return "Es sind zu viele Dateien geöffnet.";
    case ENOMEM:
        return "Es ist nicht genügend Arbeitsspeicher frei.";
    case EBUSY:
    case ETXTBSY:
        return "Die Datei wird gerade benutzt.";
    case ENODEV:
    case ENXIO:
        return "Das Gerät ist nicht bereit.";
    case EFBIG:
        return "Die Datei ist zu groß.";
    case ENOEXEC:
        return "Die Datei ist kein ausführbares Programm.";
    default:
        return "Systemfehler " + std::to_string(error) + " (" + std::strerror(error) + ").";
    }
}

} // namespace kelvane

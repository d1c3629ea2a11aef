#include "platform/win32/win32_text.h"

#include <climits>

namespace kelvane::win32 {

namespace {

int checkedLength(std::size_t size)
{
    return size > static_cast<std::size_t>(INT_MAX) ? -1 : static_cast<int>(size);
}

std::optional<std::wstring> toWide(std::string_view bytes, UINT codePage, DWORD flags)
{
    if (bytes.empty())
        return std::wstring();
    const int length = checkedLength(bytes.size());
    if (length < 0)
        return std::nullopt;
    const int needed = ::MultiByteToWideChar(codePage, flags, bytes.data(), length, nullptr, 0);
    if (needed <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    if (::MultiByteToWideChar(codePage, flags, bytes.data(), length, wide.data(), needed) != needed)
        return std::nullopt;
    return wide;
}

UINT resolved(UINT codePage)
{
    if (codePage == CP_ACP)
        return ::GetACP();
    if (codePage == CP_OEMCP)
        return ::GetOEMCP();
    return codePage;
}

} // namespace

std::wstring widen(std::string_view utf8)
{
    return toWide(utf8, CP_UTF8, 0).value_or(std::wstring());
}

std::string narrow(std::wstring_view wide)
{
    if (wide.empty())
        return {};
    const int length = checkedLength(wide.size());
    if (length < 0)
        return {};
    const int needed =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return {};
    std::string utf8(static_cast<std::size_t>(needed), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), needed, nullptr, nullptr);
    return utf8;
}

std::optional<std::string> toCodePage(std::string_view utf8, UINT codePage)
{
    const std::optional<std::wstring> wide = toWide(utf8, CP_UTF8, MB_ERR_INVALID_CHARS);
    if (!wide)
        return std::nullopt;
    codePage = resolved(codePage);
    if (codePage == CP_UTF8 || wide->empty())
        return std::string(utf8);

    const int length = static_cast<int>(wide->size());
    BOOL usedDefault = FALSE;
    const int needed = ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide->data(), length,
                                             nullptr, 0, nullptr, &usedDefault);
    if (needed <= 0 || usedDefault)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(needed), '\0');
    ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide->data(), length, bytes.data(),
                          needed, nullptr, &usedDefault);
    // Some code pages map a character to a near one without calling it a default character;
    // only a text that reads back as itself is exact.
    if (usedDefault || toWide(bytes, codePage, 0) != wide)
        return std::nullopt;
    return bytes;
}

std::string fromCodePage(std::string_view bytes, UINT codePage)
{
    codePage = resolved(codePage);
    if (codePage == CP_UTF8)
        return std::string(bytes);
    return narrow(toWide(bytes, codePage, 0).value_or(std::wstring()));
}

std::string errorText(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
        return "Die Datei ist nicht vorhanden.";
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
        return "Der Pfad ist nicht vorhanden.";
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
        return "Der Zugriff wurde verweigert.";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return "Die Datei wird gerade von einem anderen Programm benutzt.";
    case ERROR_WRITE_PROTECT:
        return "Der Datenträger ist schreibgeschützt.";
    case ERROR_NOT_READY:
        return "Das Gerät ist nicht bereit.";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return "Auf dem Datenträger ist kein Platz mehr frei.";
    case ERROR_FILENAME_EXCED_RANGE:
        return "Der Name ist zu lang.";
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
        return "Der Name ist als Pfad nicht gültig.";
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return "Es ist nicht genügend Arbeitsspeicher frei.";
    case ERROR_TOO_MANY_OPEN_FILES:
        return "Es sind zu viele Dateien geöffnet.";
    case ERROR_BAD_EXE_FORMAT:
    case ERROR_EXE_MACHINE_TYPE_MISMATCH:
        return "Die Datei ist kein ausführbares Programm.";
    case ERROR_NO_ASSOCIATION:
        return "Diesem Dateityp ist kein Programm zugeordnet.";
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_NETWORK_UNREACHABLE:
        return "Der Netzwerkpfad ist nicht erreichbar.";
    case ERROR_CANCELLED:
        return "Der Vorgang wurde abgebrochen.";
    default:
        return "Systemfehler " + std::to_string(error) + ".";
    }
}

} // namespace kelvane::win32

#include "script/script_file.h"

#include "app/services.h"
#include "util/codepage.h"
#include "util/dos_path.h"

namespace kelvane::script {

namespace {

constexpr std::string_view kNothingDone =
    " compile.bat wurde darum nicht geschrieben und nichts gestartet.";

bool isControl(unsigned char c)
{
    return c < 0x20 || c == 0x7F;
}

bool isForbiddenInPath(char c)
{
    return std::string_view("\"<>|*?").find(c) != std::string_view::npos;
}

std::string fieldText(const ScriptField &field)
{
    return "Das Feld \"" + field.name + "\"";
}

} // namespace

Outcome checkFields(const std::vector<ScriptField> &fields, unsigned codePage, FileSystem &files)
{
    for (const ScriptField &field : fields) {
        const bool path = field.kind == ScriptField::Kind::Path;
        for (char c : field.value) {
            if (isControl(static_cast<unsigned char>(c)))
                return Failure{fieldText(field) +
                               " enthält einen Zeilenumbruch oder ein anderes Steuerzeichen, "
                               "das die Zeilen des Skripts zerteilen würde." +
                               std::string(kNothingDone)};
            if (path && isForbiddenInPath(c))
                return Failure{fieldText(field) + " (\"" + files.shownPath(field.value) +
                               "\") enthält das Zeichen " + c +
                               ", das in keinem Windows-Pfad stehen darf." +
                               std::string(kNothingDone)};
        }
        const codepage::Encoded encoded = codepage::fromUtf8(field.value, codePage);
        if (!encoded.unrepresentable)
            continue;
        if (*encoded.unrepresentable == 0xFFFD)
            return Failure{fieldText(field) + " enthält Bytes, die kein gültiger UTF-8-Text sind." +
                           std::string(kNothingDone)};
        return Failure{fieldText(field) + " (\"" + field.value + "\") enthält das Zeichen \"" +
                       codepage::toUtf8(*encoded.unrepresentable) +
                       "\", das die Eingabeaufforderung in ihrer Codepage " +
                       std::to_string(codePage) +
                       (path ? " nicht darstellen kann; sie würde einen anderen Pfad lesen."
                             : " nicht darstellen kann; der Compiler bekäme einen anderen Wert.") +
                       std::string(kNothingDone) +
                       (path ? " Bitte wählen Sie einen Pfad ohne dieses Zeichen."
                             : " Bitte geben Sie den Wert ohne dieses Zeichen ein.")};
    }
    return std::nullopt;
}

Outcome checkLengths(const Script &script, FileSystem &files)
{
    for (const std::string &path : script.paths)
        if (codepage::characterCount(path) > kLongestPath)
            return Failure{"Der Pfad \"" + files.shownPath(path) + "\" ist als Windows-Pfad " +
                           std::to_string(codepage::characterCount(path)) +
                           " Zeichen lang; Windows-Programme und die Eingabeaufforderung finden "
                           "nur Pfade bis " +
                           std::to_string(kLongestPath) + " Zeichen." + std::string(kNothingDone) +
                           " Bitte wählen Sie kürzere Verzeichnis- oder Dateinamen."};
    std::size_t start = 0;
    for (int number = 1;; ++number) {
        const std::size_t end = script.text.find(kLineEnd, start);
        const std::string_view line =
            std::string_view(script.text)
                .substr(start, end == std::string::npos ? end : end - start);
        if (codepage::characterCount(line) > kLongestLine)
            return Failure{"Zeile " + std::to_string(number) + " von compile.bat wäre " +
                           std::to_string(codepage::characterCount(line)) +
                           " Zeichen lang; die Eingabeaufforderung liest nur " +
                           std::to_string(kLongestLine) +
                           " Zeichen einer Zeile und würde den Rest als eigenen Befehl "
                           "ausführen." +
                           std::string(kNothingDone)};
        if (end == std::string::npos)
            return std::nullopt;
        start = end + kLineEnd.size();
    }
}

Outcome writeAndStart(const Script &script, Services &services)
{
    const unsigned codePage = services.launcher.scriptCodePage();
    if (Outcome refused = checkFields(script.fields, codePage, services.files))
        return refused;
    if (Outcome refused = checkLengths(script, services.files))
        return refused;
    const codepage::Encoded encoded = codepage::fromUtf8(script.text, codePage);
    if (encoded.unrepresentable)
        return Failure{
            "Das Skript enthält das Zeichen \"" + codepage::toUtf8(*encoded.unrepresentable) +
            "\", das die Eingabeaufforderung in ihrer Codepage " + std::to_string(codePage) +
            " nicht darstellen kann." + std::string(kNothingDone)};

    std::string path = dos::join(services.program.programDirectory(), kScriptFileName);
    if (Outcome inProgramDirectory = services.writer.writeFile(path, encoded.bytes)) {
        // Installed where only the administrator may write: the user's own directory serves.
        const std::string userDirectory = services.program.userDataDirectory();
        if (userDirectory.empty())
            return Failure{"compile.bat konnte nicht geschrieben werden; es wurde nichts "
                           "gestartet.\r\n" +
                           inProgramDirectory->message};
        path = dos::join(userDirectory, kScriptFileName);
        if (Outcome inUserDirectory = services.writer.writeFile(path, encoded.bytes))
            return Failure{
                "compile.bat konnte weder im Programmverzeichnis noch in Ihrem "
                "Benutzerverzeichnis geschrieben werden; es wurde nichts gestartet.\r\n" +
                inProgramDirectory->message + "\r\n" + inUserDirectory->message};
    }

    if (Outcome notStarted = services.launcher.startScript(path))
        return Failure{"compile.bat wurde als \"" + services.files.shownPath(path) +
                       "\" geschrieben, konnte aber nicht gestartet werden.\r\n" +
                       notStarted->message};
    return std::nullopt;
}

} // namespace kelvane::script

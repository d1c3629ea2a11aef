#pragma once

#include <string>
#include <string_view>
#include <vector>

// The lines that make up compile.bat, shared by the end window and the presets window. Every
// builder is a pure function of plain text; a path goes into a line so that the command
// interpreter reads it back exactly as chosen (see quotedText and bareText).

namespace kelvane::script {

inline constexpr std::string_view kLineEnd = "\r\n";
inline constexpr std::string_view kEchoOff = "@echo off";
inline constexpr std::string_view kCompileFinished = "echo Kompilieren beendet...";
inline constexpr std::string_view kNoCopy = "echo Die .bsp wird nicht kopiert...";
inline constexpr std::string_view kNoHalfLife = "echo Half-Life wird nicht gestartet...";
inline constexpr std::string_view kShutdown = "rundll32.exe user,ExitWindows";
// The two windows have always worded the skipped shutdown differently.
inline constexpr std::string_view kNoShutdownEndWindow =
    "echo Der Computer wird nicht heruntergefahren...";
inline constexpr std::string_view kNoShutdownPresets = "echo Der PC wird nicht heruntergefahren...";

// What the user chose, by the name a message gives it, as it goes into the script.
struct ScriptField
{
    enum class Kind {
        Path,       // a directory or file name
        Parameters, // a compiler's switches with the values the user typed
    };

    std::string name;
    std::string value;
    Kind kind = Kind::Path;
};

inline constexpr std::string_view kToolsDirectoryField = "ZHLT-Verzeichnis";
inline constexpr std::string_view kMapDirectoryField = "Verzeichnis der .map-Datei";
inline constexpr std::string_view kMapFileField = ".map-Datei";
inline constexpr std::string_view kHalfLifeDirectoryField = "Half-Life-Verzeichnis";
inline constexpr std::string_view kModDirectoryField = "MOD-Verzeichnis";
inline constexpr std::string_view kModNameField = "MOD-Name";

// A script's text, and every field that went into it, so that they can be checked before the
// text is written.
struct Script
{
    std::string text;
    std::vector<ScriptField> fields;
    // The whole paths of the programs and files the script names.
    std::vector<std::string> paths;
};

// Text between double quotes in a batch file: the interpreter expands '%' even there, so it
// is doubled.
std::string quotedText(std::string_view text);
// Text outside quotes: '%' doubled, and the characters that chain, pipe or redirect commands
// ("&", "|", "<", ">") and the escape character itself escaped with '^'.
std::string bareText(std::string_view text);

// Text of the user's own in a command line, where the user may have quoted parts: '%' doubled
// everywhere, and outside double quotes the characters that chain, pipe or redirect commands
// escaped, so that the program receives the text as typed.
std::string commandText(std::string_view text);

// The map file's name without its last four characters, the ".map".
std::string mapNameOf(std::string_view mapFile);

// "SET WADROOT=" and the Half-Life directory as it stands, without separator or quotes.
std::string wadrootLine(std::string_view halfLifeDirectory);

// Runs one tool on the map: the quoted program path, the parameter line unchanged (it begins
// and ends with a blank), the quoted map path.
std::string toolLine(std::string_view toolsDirectory, std::string_view program,
                     std::string_view parameters, std::string_view mapDirectory,
                     std::string_view mapFile);

// Copies the compiled map into the MOD's maps directory, or says that it does not.
std::string copyLine(bool chosen, std::string_view mapDirectory, std::string_view mapName,
                     std::string_view modDirectory);

// Starts Half-Life with the MOD, or says that it does not. The MOD name is quoted only when it
// holds a blank, which would split it into several arguments.
std::string halfLifeLine(bool chosen, std::string_view halfLifeDirectory, std::string_view modName);

// Shuts the computer down, or says so in the calling window's own words.
std::string shutdownLine(bool chosen, std::string_view notChosen);

// The lines joined with CR LF, with no line end after the last.
std::string joinLines(const std::vector<std::string> &lines);

} // namespace kelvane::script

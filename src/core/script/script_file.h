#pragma once

#include "app/platform.h"
#include "script/script_text.h"

#include <string_view>
#include <vector>

namespace kelvane {
struct Services;
}

namespace kelvane::script {

inline constexpr std::string_view kScriptFileName = "compile.bat";

// Why the fields cannot stand in a batch file read in the given code page: a control character
// would split or add a line, a character no Windows path may hold would break the quoting, and
// a character the page lacks would name another file. None when all is well. Paths are named
// as the user finds them on this system.
Outcome checkFields(const std::vector<ScriptField> &fields, unsigned codePage, FileSystem &files);

// The longest path a Windows program opens, and the longest line the command interpreter reads
// whole: it cuts a longer one and runs the rest as a command of its own.
inline constexpr std::size_t kLongestPath = 259;
inline constexpr std::size_t kLongestLine = 8191;

// Why the script cannot run as written: a path the programs could not open, or a line the
// interpreter would cut. None when all is well.
Outcome checkLengths(const Script &script, FileSystem &files);

// Writes the script as compile.bat in the program's directory, or in the user's own data
// directory when the program's directory cannot be written, in the code page of the
// interpreter that runs it, and starts it without waiting. On failure nothing is started, and
// nothing is written when a field cannot go into the script.
Outcome writeAndStart(const Script &script, Services &services);

} // namespace kelvane::script

#pragma once

#include "script/script_text.h"

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kelvane::script {

// The places a compile reads, as the start window and the Half-Life window give them.
struct Places
{
    std::string toolsDirectory;
    std::string mapDirectory;
    std::string mapFile;
    std::string halfLifeDirectory;
    // As chosen: a drive root stays the root here, while the MOD name comes from the
    // directory the list moved to.
    std::string modDirectory;
    std::string modName;
};

// What the script does once the compilers are done.
struct AfterCompile
{
    bool copyBsp = false;
    bool startHalfLife = false;
    bool shutdown = false;
};

// One compiler run on the map: the program in the tools directory and its parameter line
// (a blank first and last), named after the window it comes from in a message.
struct ToolRun
{
    std::string program;
    std::string parameters;
    std::string source; // empty for fixed parameters
};

// A line of the command block: a compiler run, or a line that stands as it is.
using BlockLine = std::variant<ToolRun, std::string>;

// A compile.bat: "@echo off", WADROOT, the command block (an empty line when it is empty),
// "echo Kompilieren beendet...", then the copy, Half-Life and shutdown lines, the last
// without a line end. Every field that goes into a line is listed for the checks before
// writing; the block's lines as written are handed back in `blockLines`.
Script compileScript(const Places &places, const std::vector<BlockLine> &block,
                     const AfterCompile &after, std::string_view noShutdown,
                     std::vector<std::string> *blockLines = nullptr);

} // namespace kelvane::script

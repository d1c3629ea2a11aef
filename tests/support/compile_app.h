#pragma once

#include "app/start_window.h"
#include "script/hl_mod.h"
#include "support/fakes.h"

#include <gtest/gtest.h>
#include <string>

namespace kelvane::testing {

// The places a compile reads, as the user chose them on the start window and on HL_MOD.
struct Paths
{
    std::string tools = "C:\\ZHLT";
    std::string mapDirectory = "C:\\maps";
    std::string mapFile = "test.map";
    std::string halfLife = "C:\\Half-Life";
    std::string mod = "C:\\Half-Life\\valve";
};

// A program started as after an earlier run, with drives C: to G: and C:\Work as the current
// directory, for the windows that write compile.bat.
struct CompileApp : TestApp
{
    CompileApp()
    {
        for (char drive : {'D', 'E', 'F', 'G'})
            files.addDrive(drive);
        files.setCurrent("C:\\Work");
        stored("Start", "csg", "0"); // no first-start notes
    }

    // Makes the places, starts the program and chooses them; the start window stays shown.
    start_window &choosePlaces(const Paths &paths)
    {
        files.addDirectory(paths.tools);
        files.addFile(paths.mapDirectory + (paths.mapDirectory.ends_with('\\') ? "" : "\\") +
                      paths.mapFile);
        files.addDirectory(paths.halfLife);
        files.addDirectory(paths.mod);
        windows.start();
        start_window &start = windows.startWindow();
        EXPECT_FALSE(start.ZHLTDir.setPath(paths.tools));
        EXPECT_FALSE(start.MAPDir.setPath(paths.mapDirectory));
        start.MAPFile.choose(paths.mapFile);
        EXPECT_EQ(start.MAPFile.chosen(), paths.mapFile);
        EXPECT_FALSE(windows.hlMod().HLDir.setPath(paths.halfLife));
        EXPECT_FALSE(windows.hlMod().MODDir.setPath(paths.mod));
        return start;
    }
};

} // namespace kelvane::testing

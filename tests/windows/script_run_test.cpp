// compile.bat run for real: the program writes it through its own windows onto the real file
// system and starts it, the command interpreter runs it, and the stub tool, installed under the
// name of every program the script calls, records what each was handed.

#include "app/start_window.h"
#include "app/window_set.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_launcher.h"
#include "platform/win32/win32_text_file.h"
#include "script/end_window.h"
#include "script/hl_mod.h"
#include "support/fakes.h"
#include "toolwindows/tool_window.h"
#include "windows/stub_tool.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>
#include <tuple>

namespace kelvane {
namespace {

using test::readBytes;
using namespace std::chrono_literals;

// The program on the real file system, with the settings store in memory and the desktop's
// services faked; its paths hold blanks and umlauts, as a user's may.
struct WindowsApp
{
    WindowsApp()
    {
        for (const std::string &directory : {program, tools, mapDirectory, mod + "\\maps"})
            test::makeDirectory(directory);
        test::writeBytes(mapDirectory + "\\" + mapFile, "{}");
        for (const char *name : {"HLCSG.EXE", "HLBSP.EXE", "HLVIS.EXE", "HLRAD.EXE"})
            test::installStub(tools + "\\" + name);
        test::installStub(halfLife + "\\hl.exe");
        // The command interpreter looks in the current directory first, so the shutdown
        // line starts the stub too.
        test::installStub(program + "\\rundll32.exe");
        programInfo.directory = program;
        programInfo.dataDirectory = "";
        ::SetEnvironmentVariableW(L"KELVANE_STUB_LOG", win32::widen(log).c_str());
        backend.putRaw(windowKeyPath("Start"), "csg", RegType::String, "1"); // no first-start notes
    }
    ~WindowsApp() { ::SetEnvironmentVariableW(L"KELVANE_STUB_LOG", nullptr); }

    // What the stub tool logs of one start.
    std::string started(const std::string &name, const std::string &commandLine,
                        std::vector<std::string> arguments) const
    {
        std::string entry = "program " + name + "\ncommandline " + commandLine + "\n";
        for (const std::string &argument : arguments)
            entry += "arg " + argument + "\n";
        return entry + "wadroot " + halfLife + "\ncwd " + program + "\nend\n";
    }

    test::TempDir temp;
    const std::string program = temp / "Kelvane Programm";
    const std::string tools = temp / "ZHLT Werkzeuge Ä";
    const std::string mapDirectory = temp / "Karten ö";
    const std::string mapFile = "Prüf Karte.map";
    const std::string halfLife = temp / "Half-Life ü";
    const std::string modName = "mödvalve";
    const std::string mod = halfLife + "\\" + modName;
    const std::string log = temp / "stub.log";

    MemoryRegistryBackend backend;
    Registry registry{backend};
    testing::FakeMessages messages;
    // The real file system, whose background reads are done at once on the test's thread:
    // there is no event loop here to hand them over, and read on their own thread they would
    // change the windows' lists while the test works with them.
    struct ReadingAtOnce : Win32FileSystem
    {
        void readInBackground(std::string dosPath, std::shared_ptr<const std::atomic_bool>,
                              std::function<void(FolderContents)> done) override
        {
            done(contents(dosPath));
        }
    } files;
    testing::FakeProgram programInfo;
    testing::FakeOpener opener;
    Win32TextFileWriter writer;
    Win32ProgramLauncher launcher;
    HelpFile help{files, opener, messages};
    testing::FakeSystemInformation systemInformation;
    testing::ImmediateThread interfaceThread;
    FolderReader folders{files, interfaceThread};
    Services services{registry, messages, files, programInfo,       opener,
                      writer,   launcher, help,  systemInformation, folders};
    testing::FakeHost host;
    WindowSet windows{services, host};
};

// The end window's script with every compiler and every step after them: each program gets
// exactly its arguments, the switches of its window with the values as typed, quoted parts as
// one argument and command characters as plain text, the paths with their blanks and umlauts
// intact, and WADROOT; the .bsp is copied into the mod. The scripts' texts are the golden
// files' business.
TEST(ScriptRunTest, TheScriptRunsEveryChosenProgramWithItsArguments)
{
    WindowsApp app;
    app.windows.start();
    start_window &start = app.windows.startWindow();
    ASSERT_FALSE(start.ZHLTDir.setPath(app.tools));
    ASSERT_FALSE(start.MAPDir.setPath(app.mapDirectory));
    start.MAPFile.choose(app.mapFile);
    ASSERT_FALSE(app.windows.hlMod().HLDir.setPath(app.halfLife));
    ASSERT_FALSE(app.windows.hlMod().MODDir.setPath(app.mod));
    for (const char *name : {"use_csg", "use_bsp", "use_vis", "use_rad"})
        static_cast<CheckBox *>(start.control(name))->setState(CheckBox::Checked);
    const std::pair<std::string, std::string> typed[] = {
        {"wadinclude_value", "zhlt.wad halflife.wad"},
        {"lights_value", "\"Mein Licht & mehr.rad\" 50%.rad a|b"}};
    // Per window: the boxes checked there, its program and the arguments before the map.
    const std::tuple<WindowId, std::vector<std::string>, std::string, std::vector<std::string>>
        calls[] = {
            {WindowId::CSG_Optionen,
             {"csg_estimate", "wadinclude"},
             "HLCSG.EXE",
             {"-estimate", "-wadinclude", "zhlt.wad", "halflife.wad"}},
            {WindowId::BSP_Optionen, {"bsp_chart"}, "HLBSP.EXE", {"-chart"}},
            {WindowId::VIS_Optionen, {"full"}, "HLVIS.EXE", {"-full"}},
            {WindowId::RAD_Optionen,
             {"extra", "lights", "ambient"},
             "HLRAD.EXE",
             {"-extra", "-bounce", "10", "-ambient", "0.5", "0.5", "0.5", "-smooth", "80",
              "-lights", "Mein Licht & mehr.rad", "50%.rad", "a|b"}},
        };
    Window *at = &start;
    for (const auto &[id, boxes, program, arguments] : calls) {
        app.windows.navigate(*at, id);
        auto &tool = static_cast<ToolWindow &>(app.windows.window(id));
        for (const std::string &box : boxes)
            tool.box(box).setState(CheckBox::Checked);
        for (const auto &[field, text] : typed)
            if (tool.control(field))
                tool.field(field).setText(text);
        at = &tool;
    }
    app.windows.navigate(*at, WindowId::end_window);
    end_window &end = app.windows.endWindow();
    for (CheckBox *box : {&end.copy_bsp, &end.start_hl_check, &end.exit_win})
        box->setState(CheckBox::Checked);
    end.start_compile.click();
    EXPECT_EQ(app.messages.texts(), std::vector<std::string>{});

    std::string expected;
    const std::string map = app.mapDirectory + "\\" + app.mapFile;
    for (auto [id, boxes, program, arguments] : calls) {
        // The program reads its window's parameter line exactly as the window built it.
        const std::string switches =
            static_cast<const ToolWindow &>(app.windows.window(id)).parameterLine();
        arguments.push_back(map);
        expected += app.started(
            program, "\"" + app.tools + "\\" + program + "\"" + switches + "\"" + map + "\"",
            arguments);
    }
    expected +=
        app.started("hl.exe", "\"" + app.halfLife + "\\hl.exe\" -console -game " + app.modName,
                    {"-console", "-game", app.modName});
    expected += app.started("rundll32.exe", "rundll32.exe user,ExitWindows", {"user,ExitWindows"});
    // The script has run once the shutdown, its last line, is logged; the deadline only keeps a
    // broken run from hanging.
    std::optional<std::string> log;
    for (const auto end = std::chrono::steady_clock::now() + 60s;
         std::chrono::steady_clock::now() < end &&
         !(log && log->ends_with("ExitWindows\nwadroot " + app.halfLife + "\ncwd " + app.program +
                                 "\nend\n"));
         std::this_thread::sleep_for(50ms))
        log = readBytes(app.log);
    EXPECT_EQ(log, expected);
    EXPECT_EQ(readBytes(app.mod + "\\maps\\Prüf Karte.bsp"), "compiled by HLRAD.EXE\n");
}

} // namespace
} // namespace kelvane

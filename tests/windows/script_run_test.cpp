// compile.bat run for real: the program writes it through its own windows onto the real file
// system, the command interpreter runs it, and the stub tool, installed under the name of every
// program the script calls, records what each was handed.

#include "app/start_window.h"
#include "app/window_set.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_launcher.h"
#include "platform/win32/win32_text_file.h"
#include "script/end_window.h"
#include "script/hl_mod.h"
#include "script/presets.h"
#include "support/fakes.h"
#include "toolwindows/tool_window.h"
#include "windows/stub_tool.h"

#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <sstream>

namespace kelvane {
namespace {

using test::readBytes;
using Handle = std::unique_ptr<void, decltype(&::CloseHandle)>;

// Starts a script the way the shell's "open" does, with the command interpreter in the
// script's directory, but waits for it, so that the test reads what it did once it is done.
class WaitingLauncher : public Win32ProgramLauncher
{
public:
    explicit WaitingLauncher(std::string outputPath)
        : m_outputPath(std::move(outputPath))
    {}

    Outcome startScript(std::string_view dosPath) override
    {
        started.emplace_back(dosPath);
        SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
        const Handle output(::CreateFileW(win32::widen(m_outputPath).c_str(), FILE_APPEND_DATA,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr),
                            &::CloseHandle);
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = startup.hStdError = output.get();
        std::wstring commandLine = L"cmd.exe /d /c \"" + win32::widen(dosPath) + L"\"";
        const std::wstring directory = win32::widen(dosPath.substr(0, dosPath.rfind('\\')));
        PROCESS_INFORMATION process = {};
        if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                              nullptr, directory.c_str(), &startup, &process))
            return Failure{"cmd.exe did not start: " + std::to_string(::GetLastError())};
        const Handle thread(process.hThread, &::CloseHandle);
        const Handle interpreter(process.hProcess, &::CloseHandle);
        if (::WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
            return std::nullopt;
        ::TerminateProcess(process.hProcess, 1);
        return Failure{"compile.bat did not end within a minute"};
    }

    std::vector<std::string> started;

private:
    std::string m_outputPath;
};

// The program on the real file system, with the settings store in memory and the desktop's
// services faked; its paths hold blanks and umlauts, as a user's may.
struct WindowsApp
{
    WindowsApp()
    {
        for (const std::string &directory : {program, tools, mapDirectory, mod + "\\maps"})
            test::makeDirectory(directory);
        test::writeBytes(mapDirectory + "\\" + mapFile, "{}");
        for (const char *name : {"HLCSG.EXE", "HLBSP.EXE", "HLVIS.EXE", "NETVIS.EXE", "HLRAD.EXE"})
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

    void choosePlaces()
    {
        windows.start();
        start_window &start = windows.startWindow();
        EXPECT_FALSE(start.ZHLTDir.setPath(tools));
        EXPECT_FALSE(start.MAPDir.setPath(mapDirectory));
        start.MAPFile.choose(mapFile);
        EXPECT_EQ(start.MAPFile.chosen(), mapFile);
        EXPECT_FALSE(windows.hlMod().HLDir.setPath(halfLife));
        EXPECT_FALSE(windows.hlMod().MODDir.setPath(mod));
    }

    // What the stub tool logs of one start.
    std::string started(const std::string &name, const std::string &commandLine,
                        std::vector<std::string> arguments) const
    {
        std::string entry = "program " + name + "\ncommandline " + commandLine + "\n";
        for (const std::string &argument : arguments)
            entry += "arg " + argument + "\n";
        return entry + "wadroot " + halfLife + "\ncwd " + program + "\nend\n";
    }
    // A compiler started on the map with `switches` between the two in its line.
    std::string compiler(const std::string &name, const std::string &switches,
                         std::vector<std::string> arguments) const
    {
        const std::string map = mapDirectory + "\\" + mapFile;
        arguments.push_back(map);
        return started(name, "\"" + tools + "\\" + name + "\"" + switches + "\"" + map + "\"",
                       arguments);
    }
    std::string halfLifeStarted() const
    {
        return started("hl.exe", "\"" + halfLife + "\\hl.exe\" -console -game " + modName,
                       {"-console", "-game", modName});
    }
    // Clicks the button that writes and starts compile.bat, which must go without a message.
    void compile(Button &button)
    {
        messages.shown.clear();
        button.click();
        EXPECT_EQ(messages.texts(), std::vector<std::string>{});
        EXPECT_EQ(launcher.started, std::vector<std::string>{program + "\\compile.bat"});
    }
    std::string printed() const { return readBytes(output).value_or("(nothing)"); }

    test::TempDir temp;
    const std::string program = temp / "Kelvane Programm";
    const std::string tools = temp / "ZHLT Werkzeuge Ä";
    const std::string mapDirectory = temp / "Karten ö";
    const std::string mapFile = "Prüf Karte.map";
    const std::string halfLife = temp / "Half-Life ü";
    const std::string modName = "mödvalve";
    const std::string mod = halfLife + "\\" + modName;
    const std::string log = temp / "stub.log";
    const std::string output = temp / "script output.txt";

    MemoryRegistryBackend backend;
    Registry registry{backend};
    testing::FakeMessages messages;
    Win32FileSystem files;
    testing::FakeProgram programInfo;
    testing::FakeOpener opener;
    Win32TextFileWriter writer;
    WaitingLauncher launcher{output};
    HelpFile help{files, opener, messages};
    testing::FakeSystemInformation systemInformation;
    testing::ImmediateThread interfaceThread;
    FolderReader folders{files, interfaceThread};
    Services services{registry, messages, files, programInfo,       opener,
                      writer,   launcher, help,  systemInformation, folders};
    testing::FakeHost host;
    WindowSet windows{services, host};
};

// Every program gets exactly its arguments, the paths with their blanks and umlauts intact, and
// WADROOT; the .bsp is copied into the mod when that is chosen. The scripts' texts are the
// golden files' business; these presets cover two and four compilers, without and with the
// steps after them.
TEST(ScriptRunTest, PresetsRunTheirProgramsWithTheirArguments)
{
    const struct
    {
        const char *name;
        CheckBox presets::*box;
        bool afterCompile; // copy the .bsp, start Half-Life, shut the PC down
        const char *calls; // each program with the switches before the map
    } presetRuns[] = {
        {"leaks alone", &presets::leaks, false,
         "HLCSG.EXE -estimate |HLBSP.EXE -estimate -leakonly "},
        {"finalrelease", &presets::finalrelease, true,
         "HLCSG.EXE -estimate -high |HLBSP.EXE -estimate -high |HLVIS.EXE -estimate -full -high "
         "|HLRAD.EXE -high -bounce 10 -extra -smooth 85 -estimate "},
    };
    for (const auto &row : presetRuns) {
        SCOPED_TRACE(row.name);
        WindowsApp app;
        app.choosePlaces();
        app.windows.navigate(app.windows.startWindow(), WindowId::presets);
        presets &w = app.windows.presetsWindow();
        (w.*row.box).setState(CheckBox::Checked);
        for (CheckBox *box : {&w.copy_bsp, &w.start_hl_check, &w.exit_win})
            box->setState(row.afterCompile ? CheckBox::Checked : CheckBox::Unchecked);
        app.compile(w.compile_presets);

        std::string expected, program;
        std::istringstream calls(row.calls);
        for (std::string call; std::getline(calls, call, '|');) {
            program = call.substr(0, call.find(' '));
            const std::string switches = call.substr(program.size());
            std::istringstream words(switches);
            expected +=
                app.compiler(program, switches, {std::istream_iterator<std::string>(words), {}});
        }
        if (row.afterCompile)
            expected +=
                app.halfLifeStarted() +
                app.started("rundll32.exe", "rundll32.exe user,ExitWindows", {"user,ExitWindows"});
        EXPECT_EQ(readBytes(app.log), expected) << "The script printed:\n" << app.printed();

        const auto compiled = readBytes(app.mapDirectory + "\\Prüf Karte.bsp");
        EXPECT_EQ(compiled, "compiled by " + program + "\n");
        EXPECT_EQ(readBytes(app.mod + "\\maps\\Prüf Karte.bsp"),
                  row.afterCompile ? compiled : std::nullopt);
        if (!row.afterCompile)
            EXPECT_EQ(app.printed(), "Kompilieren beendet...\r\nDie .bsp wird nicht kopiert...\r\n"
                                     "Half-Life wird nicht gestartet...\r\n"
                                     "Der PC wird nicht heruntergefahren...\r\n");
    }
}

// The end window's script: each chosen compiler gets exactly the switches of its window, the
// values as typed, quoted parts as one argument and command characters as plain text. NETVIS
// goes through the same lines; its own golden script holds them.
TEST(ScriptRunTest, TheEndWindowsScriptRunsEveryChosenCompilerWithItsSwitches)
{
    const struct
    {
        const char *compilers;
        std::vector<std::pair<WindowId, std::vector<std::string>>> visits;
        std::vector<std::pair<std::string, std::string>> typed;
        // Per window visited: its program and the arguments before the map.
        std::vector<std::pair<std::string, std::vector<std::string>>> calls;
    } runs[] = {
        {"csg bsp vis rad",
         {{WindowId::CSG_Optionen, {"csg_estimate", "wadinclude"}},
          {WindowId::BSP_Optionen, {"bsp_chart"}},
          {WindowId::VIS_Optionen, {"full"}},
          {WindowId::RAD_Optionen, {"extra", "lights", "ambient"}}},
         {{"wadinclude_value", "zhlt.wad halflife.wad"},
          {"lights_value", "\"Mein Licht & mehr.rad\" 50%.rad a|b"}},
         {{"HLCSG.EXE", {"-estimate", "-wadinclude", "zhlt.wad", "halflife.wad"}},
          {"HLBSP.EXE", {"-chart"}},
          {"HLVIS.EXE", {"-full"}},
          {"HLRAD.EXE",
           {"-extra", "-bounce", "10", "-ambient", "0.5", "0.5", "0.5", "-smooth", "80", "-lights",
            "Mein Licht & mehr.rad", "50%.rad", "a|b"}}}},
    };
    for (const auto &run : runs) {
        SCOPED_TRACE(run.compilers);
        WindowsApp app;
        app.choosePlaces();
        std::istringstream names(run.compilers);
        for (std::string name; names >> name;)
            static_cast<CheckBox *>(app.windows.startWindow().control("use_" + name))
                ->setState(CheckBox::Checked);
        Window *at = &app.windows.startWindow();
        for (const auto &[id, boxes] : run.visits) { // sets the switches on each window in turn
            app.windows.navigate(*at, id);
            auto &tool = static_cast<ToolWindow &>(app.windows.window(id));
            for (const std::string &box : boxes)
                tool.box(box).setState(CheckBox::Checked);
            for (const auto &[field, text] : run.typed)
                if (tool.control(field))
                    tool.field(field).setText(text);
            at = &tool;
        }
        app.windows.navigate(*at, WindowId::end_window);
        end_window &end = app.windows.endWindow();
        ASSERT_EQ(app.windows.current(), &end);
        end.copy_bsp.setState(CheckBox::Checked);
        end.start_hl_check.setState(CheckBox::Checked);
        app.compile(end.start_compile);

        std::string expected;
        for (std::size_t i = 0; i < run.calls.size(); ++i) {
            // The program reads its window's parameter line exactly as the window built it.
            const auto &tool =
                static_cast<const ToolWindow &>(app.windows.window(run.visits[i].first));
            expected += app.compiler(run.calls[i].first, tool.parameterLine(), run.calls[i].second);
        }
        expected += app.halfLifeStarted();
        EXPECT_EQ(readBytes(app.log), expected) << "The script printed:\n" << app.printed();
        EXPECT_EQ(readBytes(app.mod + "\\maps\\Prüf Karte.bsp"), "compiled by HLRAD.EXE\n");
        EXPECT_EQ(app.windows.current(), &end) << "the program stays open";
    }
}

} // namespace
} // namespace kelvane

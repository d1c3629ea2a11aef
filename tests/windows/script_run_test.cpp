// compile.bat run for real: the program writes it through its own windows onto the real file
// system, the command interpreter runs it, and the stub tool, installed under the name of every
// program the script calls, records what each was handed.

#include "app/start_window.h"
#include "app/window_set.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_launcher.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_text_file.h"
#include "script/hl_mod.h"
#include "script/presets.h"
#include "support/fakes.h"
#include "windows/stub_log.h"
#include "windows/temp_directory.h"

#include <gtest/gtest.h>
#include <sstream>

namespace kelvane {
namespace {

using testing::installStub;
using testing::makeDirectory;
using testing::readBytes;
using testing::readStubLog;
using testing::StubRun;
using testing::TempDirectory;

class Handle
{
public:
    explicit Handle(HANDLE handle)
        : m_handle(handle)
    {}
    ~Handle()
    {
        if (m_handle && m_handle != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_handle);
    }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

class ProgramIn : public ProgramInfo
{
public:
    explicit ProgramIn(std::string directory)
        : m_directory(std::move(directory))
    {}
    std::string programDirectory() override { return m_directory; }
    std::string userDataDirectory() override { return {}; }

private:
    std::string m_directory;
};

// Starts a script the way the shell's "open" does, with the command interpreter in the
// script's directory, but waits for it, so that the test reads what it did once it is done.
// The script's code page is the system's, as in the program.
class WaitingLauncher : public Win32ProgramLauncher
{
public:
    explicit WaitingLauncher(std::string outputPath)
        : m_outputPath(std::move(outputPath))
    {}

    Outcome startScript(std::string_view dosPath) override
    {
        started.emplace_back(dosPath);
        const std::string directory = std::string(dosPath.substr(0, dosPath.rfind('\\')));
        std::wstring commandLine = L"cmd.exe /d /c \"" + win32::widen(dosPath) + L"\"";

        SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
        const HANDLE output = ::CreateFileW(win32::widen(m_outputPath).c_str(), FILE_APPEND_DATA,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (output == INVALID_HANDLE_VALUE)
            return Failure{"no file for the script's output"};
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = nullptr;
        startup.hStdOutput = output;
        startup.hStdError = output;
        // The interpreter, the programs it starts and the console host they share all run in
        // one job, and the script counts as done when the last of them has ended; only then
        // are its files and directories free again.
        Handle job(::CreateJobObjectW(nullptr, nullptr));
        Handle port(::CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1));
        JOBOBJECT_ASSOCIATE_COMPLETION_PORT association = {job.get(), port.get()};
        if (!job.get() || !port.get() ||
            !::SetInformationJobObject(job.get(), JobObjectAssociateCompletionPortInformation,
                                       &association, sizeof association))
            return Failure{"no job for the script: " + std::to_string(::GetLastError())};

        PROCESS_INFORMATION process = {};
        const BOOL created = ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                                              CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr,
                                              win32::widen(directory).c_str(), &startup, &process);
        ::CloseHandle(output);
        if (!created)
            return Failure{"cmd.exe did not start: " + std::to_string(::GetLastError())};
        Handle processHandle(process.hProcess);
        Handle thread(process.hThread);
        if (!::AssignProcessToJobObject(job.get(), process.hProcess)) {
            ::TerminateProcess(process.hProcess, 1);
            return Failure{"cmd.exe is in no job: " + std::to_string(::GetLastError())};
        }
        ::ResumeThread(process.hThread);

        // Generous: a run takes a fraction of a second.
        for (;;) {
            DWORD message = 0;
            ULONG_PTR key = 0;
            LPOVERLAPPED detail = nullptr;
            if (!::GetQueuedCompletionStatus(port.get(), &message, &key, &detail, 60000)) {
                ::TerminateJobObject(job.get(), 1);
                return Failure{"compile.bat did not end within a minute"};
            }
            if (message == JOB_OBJECT_MSG_ACTIVE_PROCESS_ZERO)
                return std::nullopt;
        }
    }
    Outcome startProgram(std::string_view dosPath) override
    {
        return Failure{"startProgram(" + std::string(dosPath) + ") not expected here"};
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
        for (const std::string &directory :
             {program, tools, mapDirectory, halfLife, mod, mod + "\\maps"})
            EXPECT_TRUE(makeDirectory(directory)) << directory;
        EXPECT_TRUE(testing::writeBytes(mapDirectory + "\\" + mapFile, "{}"));
        for (const char *name : {"HLCSG.EXE", "HLBSP.EXE", "HLVIS.EXE", "NETVIS.EXE", "HLRAD.EXE"})
            EXPECT_TRUE(installStub(tools + "\\" + name)) << name;
        EXPECT_TRUE(installStub(halfLife + "\\hl.exe"));
        // The command interpreter looks in the current directory first, so the shutdown
        // line starts the stub too.
        EXPECT_TRUE(installStub(program + "\\rundll32.exe"));
        ::SetEnvironmentVariableW(L"KELVANE_STUB_LOG", win32::widen(log).c_str());
        backend.putRaw(windowKeyPath("Start"), "csg", RegType::String, "1"); // no first-start notes
    }
    ~WindowsApp() { ::SetEnvironmentVariableW(L"KELVANE_STUB_LOG", nullptr); }

    // Starts the program, chooses the places, and opens the presets window.
    presets &openPresets()
    {
        windows.start();
        start_window &start = windows.startWindow();
        EXPECT_FALSE(start.ZHLTDir.setPath(tools));
        EXPECT_FALSE(start.MAPDir.setPath(mapDirectory));
        start.MAPFile.choose(mapFile);
        EXPECT_EQ(start.MAPFile.chosen(), mapFile);
        HL_MOD &hlMod = windows.hlMod();
        EXPECT_FALSE(hlMod.HLDir.setPath(halfLife));
        EXPECT_FALSE(hlMod.MODDir.setPath(mod));
        windows.navigate(start, WindowId::presets);
        return windows.presetsWindow();
    }

    std::string scriptOutput() const { return readBytes(output).value_or("(none)"); }

    TempDirectory temp;
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
    ProgramIn programInfo{program};
    testing::FakeOpener opener;
    Win32TextFileWriter writer;
    WaitingLauncher launcher{output};
    HelpFile help{files, opener, messages};
    Services services{registry, messages, files, programInfo, opener, writer, launcher, help};
    testing::FakeHost host;
    WindowSet windows{services, host};
};

// What one tool line hands its tool: the switches between the program and the map, exactly as
// they stand in the line.
struct ToolCall
{
    std::string program;
    std::string switches;
};

struct PresetRun
{
    std::string name;
    CheckBox presets::*box;
    std::vector<ToolCall> calls;
};

std::vector<std::string> wordsOf(const std::string &text)
{
    std::istringstream words(text);
    return {std::istream_iterator<std::string>(words), std::istream_iterator<std::string>()};
}

class PresetScriptRunTest : public ::testing::TestWithParam<PresetRun>
{
};

TEST_P(PresetScriptRunTest, EveryProgramGetsItsArgumentsAndTheBspIsCopied)
{
    WindowsApp app;
    presets &w = app.openPresets();
    (w.*GetParam().box).setState(CheckBox::Checked);
    w.copy_bsp.setState(CheckBox::Checked);
    w.start_hl_check.setState(CheckBox::Checked);
    w.exit_win.setState(CheckBox::Checked);
    app.messages.shown.clear();
    w.compile_presets.click();

    ASSERT_EQ(app.messages.texts(), std::vector<std::string>{});
    ASSERT_EQ(app.launcher.started, std::vector<std::string>{app.program + "\\compile.bat"});
    const std::vector<StubRun> runs = readStubLog(app.log);
    const std::vector<ToolCall> &calls = GetParam().calls;
    ASSERT_EQ(runs.size(), calls.size() + 2) << "The script printed:\n" << app.scriptOutput();

    const std::string map = app.mapDirectory + "\\" + app.mapFile;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        SCOPED_TRACE(calls[i].program);
        EXPECT_EQ(runs[i].program, calls[i].program);
        EXPECT_EQ(runs[i].commandLine, "\"" + app.tools + "\\" + calls[i].program + "\"" +
                                           calls[i].switches + "\"" + map + "\"");
        std::vector<std::string> arguments = wordsOf(calls[i].switches);
        arguments.push_back(map);
        EXPECT_EQ(runs[i].arguments, arguments);
    }
    const StubRun &halfLife = runs[calls.size()];
    EXPECT_EQ(halfLife.program, "hl.exe");
    EXPECT_EQ(halfLife.commandLine,
              "\"" + app.halfLife + "\\hl.exe\" -console -game " + app.modName);
    EXPECT_EQ(halfLife.arguments, (std::vector<std::string>{"-console", "-game", app.modName}));
    const StubRun &shutdown = runs[calls.size() + 1];
    EXPECT_EQ(shutdown.program, "rundll32.exe");
    EXPECT_EQ(shutdown.arguments, std::vector<std::string>{"user,ExitWindows"});

    for (const StubRun &run : runs)
        EXPECT_EQ(run.wadroot, app.halfLife) << run.program;

    const std::optional<std::string> compiled = readBytes(app.mapDirectory + "\\Prüf Karte.bsp");
    ASSERT_TRUE(compiled);
    EXPECT_EQ(*compiled, "compiled by " + calls.back().program + "\n");
    EXPECT_EQ(readBytes(app.mod + "\\maps\\Prüf Karte.bsp"), compiled);
}

const ToolCall csg{"HLCSG.EXE", " -estimate "};
const ToolCall bsp{"HLBSP.EXE", " -estimate "};

INSTANTIATE_TEST_SUITE_P(
    Presets, PresetScriptRunTest,
    ::testing::Values(
        PresetRun{"leaks", &presets::leaks, {csg, {"HLBSP.EXE", " -estimate -leakonly "}}},
        PresetRun{"fastcompile",
                  &presets::fastcompile,
                  {csg,
                   bsp,
                   {"HLVIS.EXE", " -fast -estimate "},
                   {"HLRAD.EXE", " -estimate -bounce 0 -estimate "}}},
        PresetRun{
            "entityupdate", &presets::entityupdate, {{"HLCSG.EXE", " -estimate -onlyents "}, bsp}},
        PresetRun{"lichtupdate",
                  &presets::lichtupdate,
                  {csg,
                   bsp,
                   {"HLVIS.EXE", " -estimate "},
                   {"HLRAD.EXE", " -estimate -smooth 80 -bounce 5 -incremental "}}},
        PresetRun{"qualitaet",
                  &presets::qualitaet,
                  {csg,
                   bsp,
                   {"HLVIS.EXE", " -estimate "},
                   {"HLRAD.EXE", " -estimate -bounce 4 -extra -smooth 35 -estimate "}}},
        PresetRun{"prerelease",
                  &presets::prerelease,
                  {csg,
                   bsp,
                   {"HLVIS.EXE", " -estimate -full "},
                   {"HLRAD.EXE", " -estimate -smooth 80 -bounce 5 "}}},
        PresetRun{"finalrelease",
                  &presets::finalrelease,
                  {{"HLCSG.EXE", " -estimate -high "},
                   {"HLBSP.EXE", " -estimate -high "},
                   {"HLVIS.EXE", " -estimate -full -high "},
                   {"HLRAD.EXE", " -high -bounce 10 -extra -smooth 85 -estimate "}}}),
    [](const ::testing::TestParamInfo<PresetRun> &info) { return info.param.name; });

TEST(ScriptRunTest, WithoutAfterCompileChoicesOnlyTheToolsRunAndNothingIsCopied)
{
    WindowsApp app;
    presets &w = app.openPresets();
    w.leaks.setState(CheckBox::Checked);
    app.messages.shown.clear();
    w.compile_presets.click();

    ASSERT_EQ(app.messages.texts(), std::vector<std::string>{});
    const std::vector<StubRun> runs = readStubLog(app.log);
    ASSERT_EQ(runs.size(), 2u) << "The script printed:\n" << app.scriptOutput();
    EXPECT_EQ(runs[0].program, "HLCSG.EXE");
    EXPECT_EQ(runs[1].program, "HLBSP.EXE");
    EXPECT_FALSE(readBytes(app.mod + "\\maps\\Prüf Karte.bsp"));
    EXPECT_EQ(app.scriptOutput(), "Kompilieren beendet...\r\nDie .bsp wird nicht kopiert...\r\n"
                                  "Half-Life wird nicht gestartet...\r\n"
                                  "Der PC wird nicht heruntergefahren...\r\n");
}

TEST(ScriptRunTest, ScriptIsWrittenInTheCodePageTheInterpreterReads)
{
    WindowsApp app;
    presets &w = app.openPresets();
    app.messages.shown.clear();
    w.compile_presets.click();

    ASSERT_EQ(app.messages.texts(), std::vector<std::string>{});
    const std::optional<std::string> script = readBytes(app.program + "\\compile.bat");
    ASSERT_TRUE(script);
    const std::optional<std::string> wadroot =
        win32::toCodePage("SET WADROOT=" + app.halfLife + "\r\n", ::GetOEMCP());
    ASSERT_TRUE(wadroot);
    EXPECT_NE(script->find(*wadroot), std::string::npos);
}

} // namespace
} // namespace kelvane

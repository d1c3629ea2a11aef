#pragma once

#include "app/platform.h"
#include "platform/posix/wine_paths.h"

#include <chrono>
#include <string>
#include <vector>

namespace kelvane {

// A terminal program and the arguments it takes before the command it is to run; the command
// follows as separate arguments.
struct TerminalProgram
{
    std::string program; // a name looked up on PATH, or a path of its own
    std::vector<std::string> beforeCommand;
};

// Starts compile.bat in a terminal with Wine's command interpreter, and Windows programs with
// Wine. Every start passes an argument vector, never a shell command.
//
// The script runs as "wine cmd /k compile.bat" with the script's directory as the working
// directory, so that its path reaches no parser at all: cmd drops the quotes around a path
// that holds "&", "(" or "^" and would run what follows as commands. "/k" keeps the
// interpreter, and with it the terminal, open after the script, so that the compilers' output
// can be read; each of the fixed arguments means the same to every terminal, whether it runs
// the command itself or hands it to a shell.
class PosixLauncher : public ProgramLauncher
{
public:
    // The terminals tried in turn: the user's own (chosenByUser, from $TERMINAL), the one
    // the desktop names through xdg-terminal-exec or the system's x-terminal-emulator, then
    // the common ones.
    static std::vector<TerminalProgram> commonTerminals(const char *chosenByUser);
    static std::vector<TerminalProgram> terminalsFromEnvironment();

    // The locale whose character handling Wine takes: LC_ALL, else LC_CTYPE, else LANG, else
    // "C". Wine falls back to "C" when the C library does not have the locale.
    static std::string wineLocale(const char *lcAll, const char *lcCtype, const char *lang);
    // The OEM code page in which Wine's cmd reads batch files under this process's locale.
    static unsigned codePageFromEnvironment();

    // wine: a name looked up on PATH, or a path of its own.
    explicit PosixLauncher(WineDrives drives,
                           std::vector<TerminalProgram> terminals = terminalsFromEnvironment(),
                           std::string wine = "wine",
                           unsigned codePage = codePageFromEnvironment());

    Outcome startScript(std::string_view dosPath) override;
    Outcome startProgram(std::string_view dosPath) override;
    unsigned scriptCodePage() override { return m_codePage; }

    // How long a program that fails at once (a terminal without a display) is waited for, so
    // that the user hears of it; one that is still running then counts as started.
    void setStartupGrace(std::chrono::milliseconds grace) { m_grace = grace; }

private:
    WineDrives m_drives;
    std::vector<TerminalProgram> m_terminals;
    std::string m_wine;
    unsigned m_codePage;
    std::chrono::milliseconds m_grace{400};
};

} // namespace kelvane

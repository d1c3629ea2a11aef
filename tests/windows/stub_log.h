#pragma once

#include "windows/temp_directory.h"

#include <string>
#include <vector>

namespace kelvane::testing {

// One start of the stub tool, as it recorded it.
struct StubRun
{
    std::string program;
    std::string commandLine;
    std::vector<std::string> arguments;
    std::optional<std::string> wadroot;
    std::string workingDirectory;
};

// The runs recorded in a stub log, in order.
inline std::vector<StubRun> readStubLog(const std::string &path)
{
    std::vector<StubRun> runs;
    const std::string log = readBytes(path).value_or(std::string());
    StubRun run;
    std::size_t start = 0;
    while (start < log.size()) {
        std::size_t end = log.find('\n', start);
        if (end == std::string::npos)
            end = log.size();
        const std::string line = log.substr(start, end - start);
        start = end + 1;
        const std::size_t blank = line.find(' ');
        const std::string key = line.substr(0, blank);
        const std::string value = blank == std::string::npos ? "" : line.substr(blank + 1);
        if (key == "program")
            run.program = value;
        else if (key == "commandline")
            run.commandLine = value;
        else if (key == "arg")
            run.arguments.push_back(value);
        else if (key == "wadroot")
            run.wadroot = value;
        else if (key == "cwd")
            run.workingDirectory = value;
        else if (key == "end")
            runs.push_back(std::exchange(run, StubRun{}));
    }
    return runs;
}

// The stub tool's path: it is built beside the test program.
inline std::string stubToolPath()
{
    wchar_t path[MAX_PATH] = {};
    const std::wstring self(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH));
    return win32::narrow(self.substr(0, self.find_last_of(L'\\') + 1)) + KELVANE_STUB_TOOL_NAME;
}

// Puts a copy of the stub tool at `path`.
inline bool installStub(const std::string &path)
{
    return ::CopyFileW(win32::widen(stubToolPath()).c_str(), win32::widen(path).c_str(), FALSE);
}

} // namespace kelvane::testing

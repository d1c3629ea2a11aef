#pragma once

#include "app/platform.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace kelvane {

// The file a shell would run for `program`: itself when it names a path, else the first match
// on PATH.
std::optional<std::string> findProgram(const std::string &program);

// Starts the program at `path` with exactly these arguments (the first is the name it is started
// under) in `workingDirectory`, or in ours when that is empty, and does not wait for it beyond
// `grace`, in which a program that fails at once is still noticed; with no grace it is not
// looked at again. `shownName` names the program in the messages.
Outcome startDetached(const std::string &path, const std::vector<std::string> &arguments,
                      const std::string &workingDirectory, std::chrono::milliseconds grace,
                      const std::string &shownName);

// Runs the program at `path` with these arguments to its end and returns what it wrote to its
// standard output; none when it cannot be started, ends with a failure or takes longer than
// `timeout` (it is then killed).
std::optional<std::string> outputOf(const std::string &path,
                                    const std::vector<std::string> &arguments,
                                    std::chrono::milliseconds timeout);

} // namespace kelvane

#pragma once

#include "platform/temp_dir.h"
#include "platform/win32/win32_text.h"

#include <string>

namespace kelvane::test {

// Puts a copy of the stub tool (stub_tool.cpp), which is built beside the test program, at
// `path`.
inline void installStub(const std::string &path)
{
    wchar_t self[MAX_PATH] = {};
    const fs::path tests(std::wstring(self, ::GetModuleFileNameW(nullptr, self, MAX_PATH)));
    fs::copy_file(tests.parent_path() / KELVANE_STUB_TOOL_NAME, fsPath(path),
                  fs::copy_options::overwrite_existing);
}

} // namespace kelvane::test

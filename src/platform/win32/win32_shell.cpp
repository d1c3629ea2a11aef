#include "platform/win32/win32_shell.h"

#include "platform/win32/win32_text.h"

#include <shellapi.h>

namespace kelvane::win32 {

Outcome shellOpen(std::string_view target, std::string_view workingDirectory,
                  const std::string &failureText, std::string_view parameters)
{
    const std::wstring file = widen(target);
    const std::wstring directory = widen(workingDirectory);
    const std::wstring arguments = widen(parameters);
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    // The program may end right after this call (the presets window does), so the start is
    // finished before it returns.
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.lpParameters = arguments.empty() ? nullptr : arguments.c_str();
    info.lpDirectory = directory.empty() ? nullptr : directory.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (::ShellExecuteExW(&info))
        return std::nullopt;
    return Failure{failureText + " " + errorText(::GetLastError())};
}

} // namespace kelvane::win32

#include "platform/native_platform.h"

#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_launcher.h"
#include "platform/win32/win32_opener.h"
#include "platform/win32/win32_program.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system_information.h"
#include "platform/win32/win32_text_file.h"

namespace kelvane {

namespace {

// Windows: the registry and the system's own file system and shell.
class Win32Platform : public NativePlatform
{
public:
    RegistryBackend &settings() override { return m_settings; }
    FileSystem &files() override { return m_files; }
    ProgramInfo &program() override { return m_program; }
    DesktopOpener &opener() override { return m_opener; }
    TextFileWriter &writer() override { return m_writer; }
    ProgramLauncher &launcher() override { return m_launcher; }
    SystemInformation &systemInformation() override { return m_systemInformation; }

private:
    Win32RegistryBackend m_settings;
    Win32FileSystem m_files;
    Win32ProgramInfo m_program;
    Win32DesktopOpener m_opener;
    Win32TextFileWriter m_writer;
    Win32ProgramLauncher m_launcher;
    Win32SystemInformation m_systemInformation;
};

} // namespace

std::unique_ptr<NativePlatform> NativePlatform::create()
{
    return std::make_unique<Win32Platform>();
}

} // namespace kelvane

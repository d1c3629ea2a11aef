#include "platform/native_platform.h"

#include "platform/posix/file_hive.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_launcher.h"
#include "platform/posix/posix_opener.h"
#include "platform/posix/posix_program.h"
#include "platform/posix/posix_system_information.h"
#include "platform/posix/posix_text_file.h"
#include "platform/posix/wine_paths.h"

namespace kelvane {

namespace {

// Linux: the settings in a file of the user's, the file system and the programs as Wine
// presents them.
class PosixPlatform : public NativePlatform
{
public:
    PosixPlatform()
        : m_settings(FileHiveBackend::defaultSettingsPath())
        , m_drives(WineDrives::fromEnvironment())
        , m_files(m_drives)
        , m_program(m_drives, PosixProgramInfo::userDataDirectoryFromEnvironment())
        , m_opener(m_drives)
        , m_writer(m_drives)
        , m_launcher(m_drives)
    {}

    RegistryBackend &settings() override { return m_settings; }
    FileSystem &files() override { return m_files; }
    ProgramInfo &program() override { return m_program; }
    DesktopOpener &opener() override { return m_opener; }
    TextFileWriter &writer() override { return m_writer; }
    ProgramLauncher &launcher() override { return m_launcher; }
    SystemInformation &systemInformation() override { return m_systemInformation; }

private:
    FileHiveBackend m_settings;
    WineDrives m_drives;
    PosixFileSystem m_files;
    PosixProgramInfo m_program;
    PosixDesktopOpener m_opener;
    PosixTextFileWriter m_writer;
    PosixLauncher m_launcher;
    PosixSystemInformation m_systemInformation;
};

} // namespace

std::unique_ptr<NativePlatform> NativePlatform::create()
{
    return std::make_unique<PosixPlatform>();
}

} // namespace kelvane

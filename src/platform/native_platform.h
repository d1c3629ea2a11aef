#pragma once

#include "app/platform.h"
#include "settings/registry_backend.h"

#include <memory>

namespace kelvane {

// The services of the system the program runs on: the settings store and the platform
// interfaces, made the way this system needs them.
class NativePlatform
{
public:
    virtual ~NativePlatform() = default;

    static std::unique_ptr<NativePlatform> create();

    virtual RegistryBackend &settings() = 0;
    virtual FileSystem &files() = 0;
    virtual ProgramInfo &program() = 0;
    virtual DesktopOpener &opener() = 0;
    virtual TextFileWriter &writer() = 0;
    virtual ProgramLauncher &launcher() = 0;
    virtual SystemInformation &systemInformation() = 0;
};

} // namespace kelvane

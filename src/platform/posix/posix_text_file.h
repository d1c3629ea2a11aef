#pragma once

#include "app/platform.h"
#include "platform/posix/wine_paths.h"

namespace kelvane {

// Writes a file so that it is either the old one or the whole new one, never a part of either:
// the bytes go to a new file beside it, which then takes the old one's place.
class PosixTextFileWriter : public TextFileWriter
{
public:
    explicit PosixTextFileWriter(WineDrives drives);

    Outcome writeFile(std::string_view dosPath, std::string_view bytes) override;

private:
    WineDrives m_drives;
};

} // namespace kelvane

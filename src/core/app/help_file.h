#pragma once

#include "app/platform.h"

#include <string>

namespace kelvane {

// The program's help file, which F1 opens in every window.
class HelpFile
{
public:
    HelpFile(FileSystem &files, DesktopOpener &opener, MessageService &messages)
        : m_files(files)
        , m_opener(opener)
        , m_messages(messages)
    {}

    void setFile(std::string dosPath) { m_path = std::move(dosPath); }
    const std::string &file() const { return m_path; }
    // Opens the file with the desktop's viewer, or tells the user why it cannot.
    void open();

private:
    FileSystem &m_files;
    DesktopOpener &m_opener;
    MessageService &m_messages;
    std::string m_path;
};

} // namespace kelvane

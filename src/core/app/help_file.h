#pragma once

#include "app/platform.h"
#include "app/window_id.h"

#include <string>

namespace kelvane {

// The page of the help that explains a window: "csg_optionen.html". The compiled help file
// holds it, and the folder "hilfe" beside that file holds the same page as plain HTML.
std::string helpPage(WindowId window);

// The program's help file, which F1 opens in every window at that window's page.
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
    // The folder of the help's HTML pages: "hilfe" beside the compiled file.
    std::string pageDirectory() const;

    // Shows the window's page: in the compiled help file when the desktop has a viewer for
    // it, else as an HTML page in the web browser, else tells the user what is missing.
    void open(WindowId window);

private:
    void report(const Outcome &outcome);

    FileSystem &m_files;
    DesktopOpener &m_opener;
    MessageService &m_messages;
    std::string m_path;
};

} // namespace kelvane

#include "app/controls.h"

#include "app/window.h"
#include "util/dos_path.h"

#include <algorithm>

namespace kelvane {

Control::Control(Window &window, ControlKind kind, ControlDef def)
    : m_window(window)
    , m_kind(kind)
    , m_def(std::move(def))
{
    window.registerControl(*this);
}

void Control::setEnabled(bool enabled)
{
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    viewChanged();
}

// ---------------------------------------------------------------------------------------------

CheckBox::CheckBox(Window &window, ControlDef def, int startState)
    : Control(window, ControlKind::CheckBox, std::move(def))
    , m_state(startState)
{}

void CheckBox::setState(int state)
{
    if (state == m_state)
        return;
    m_state = state;
    viewChanged();
    changed(state);
}

std::string CheckBox::storedText() const
{
    return std::to_string(m_state);
}

std::optional<std::string> CheckBox::restore(std::string_view text)
{
    if (text == "1")
        setState(Checked);
    else if (text == "2")
        setState(Grey);
    else
        setState(Unchecked);
    return std::nullopt;
}

// ---------------------------------------------------------------------------------------------

TextField::TextField(Window &window, ControlDef def, std::string startText)
    : Control(window, ControlKind::TextField, std::move(def))
    , m_text(std::move(startText))
{}

void TextField::setText(std::string text)
{
    if (text == m_text)
        return;
    m_text = std::move(text);
    viewChanged();
    changed();
}

std::optional<std::string> TextField::restore(std::string_view text)
{
    setText(std::string(text));
    return std::nullopt;
}

// ---------------------------------------------------------------------------------------------

Button::Button(Window &window, ControlDef def, std::optional<WindowId> target)
    : Control(window, ControlKind::Button, std::move(def))
    , m_target(target)
{}

Button::Button(Window &window, ControlDef def, int roles)
    : Control(window, ControlKind::Button, std::move(def))
    , m_roles(roles)
{}

// ---------------------------------------------------------------------------------------------

DriveList::DriveList(Window &window, ControlDef def)
    : Control(window, ControlKind::DriveList, std::move(def))
    , m_files(window.services().files)
{
    m_entries = m_files.drives();
    m_letter = m_files.currentDrive();
}

std::string DriveList::text() const
{
    for (const auto &entry : m_entries)
        if (entry.letter == m_letter)
            return entry.text;
    return std::string(1, static_cast<char>(m_letter - 'A' + 'a')) + ":";
}

bool DriveList::setDrive(std::string_view text)
{
    const auto letter = dos::driveOf(text.size() >= 2 ? text : std::string_view());
    const char wanted =
        letter ? *letter
               : (text.size() == 1
                      ? static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])))
                      : '\0');
    const auto found = std::find_if(m_entries.begin(), m_entries.end(),
                                    [&](const DriveEntry &e) { return e.letter == wanted; });
    if (found == m_entries.end())
        return false;
    if (found->letter != m_letter) {
        m_letter = found->letter;
        viewChanged();
        changed(m_letter);
    }
    return true;
}

void DriveList::revertTo(char letter)
{
    if (letter == m_letter)
        return;
    m_letter = letter;
    viewChanged();
}

void DriveList::refresh()
{
    m_entries = m_files.drives();
    viewChanged();
}

std::optional<std::string> DriveList::restore(std::string_view text)
{
    if (text.empty() || setDrive(text))
        return std::nullopt;
    return "Das gespeicherte Laufwerk \"" + std::string(text) +
           "\" ist nicht mehr vorhanden. Die Liste zeigt stattdessen das Laufwerk \"" +
           this->text() + "\".";
}

// ---------------------------------------------------------------------------------------------

namespace {

const std::shared_ptr<const std::vector<std::string>> &noNames()
{
    static const auto none = std::make_shared<const std::vector<std::string>>();
    return none;
}

} // namespace

DirectoryList::DirectoryList(Window &window, ControlDef def)
    : Control(window, ControlKind::DirectoryList, std::move(def))
    , m_files(window.services().files)
    , m_folders(window.services().folders)
    , m_subdirectories(noNames())
{
    const char drive = m_files.currentDrive();
    if (go(m_files.currentDirectory(drive)))
        go(std::string(1, drive) + ":\\");
}

namespace {

// The open directories from the root down to a directory.
std::vector<DirectoryEntry> openDirectories(const std::string &path)
{
    std::vector<DirectoryEntry> entries;
    const char drive = dos::driveOf(path).value_or('C');
    std::string walked = std::string(1, drive) + ":\\";
    entries.push_back({walked, walked, 0, true});
    int depth = 1;
    for (const auto &part : dos::components(path)) {
        walked = dos::join(walked, part);
        entries.push_back({part, walked, depth++, true});
    }
    return entries;
}

} // namespace

Outcome DirectoryList::go(std::string path)
{
    if (Outcome failed = m_files.canRead(path))
        return failed;
    const bool moved = path != m_path;
    m_path = std::move(path);
    m_open = openDirectories(m_path);
    m_subdirectories = noNames();
    m_waiting = true;
    m_reading = m_folders.read(m_path, [this](const std::shared_ptr<const Folder> &folder) {
        showSubdirectories(folder);
    });
    // Sub-directories that arrived at once have been shown already.
    if (m_waiting)
        viewChanged();
    if (moved)
        changed(m_path);
    return std::nullopt;
}

void DirectoryList::showSubdirectories(const std::shared_ptr<const Folder> &folder)
{
    // A directory that could no longer be read by then shows the way to it alone.
    m_subdirectories =
        folder->failure
            ? noNames()
            : std::shared_ptr<const std::vector<std::string>>(folder, &folder->directories);
    m_waiting = false;
    viewChanged();
}

DirectoryEntry DirectoryList::entry(std::size_t index) const
{
    if (index < m_open.size())
        return m_open[index];
    const std::string &name = (*m_subdirectories)[index - m_open.size()];
    return {name, dos::join(m_path, name), m_open.back().depth + 1, false};
}

Outcome DirectoryList::setPath(std::string_view path)
{
    std::string target =
        dos::isDriveOnly(path) ? m_files.currentDirectory(*dos::driveOf(path)) : std::string(path);
    target = dos::normalize(target);
    if (!dos::driveOf(target))
        return Failure{"\"" + std::string(path) + "\" ist kein vollständiger Pfad."};
    return go(std::move(target));
}

void DirectoryList::clickEntry(std::size_t index)
{
    if (index < entryCount())
        clicked(entry(index).path);
}

Outcome DirectoryList::openEntry(std::size_t index)
{
    if (index >= entryCount())
        return std::nullopt;
    return setPath(entry(index).path);
}

std::optional<std::string> DirectoryList::restore(std::string_view text)
{
    if (text.empty() || !setPath(text))
        return std::nullopt;
    std::optional<std::string> up = dos::parent(dos::normalize(text));
    while (up && setPath(*up))
        up = dos::parent(*up);
    return "Das gespeicherte Verzeichnis \"" + std::string(text) +
           "\" ist nicht mehr vorhanden oder kann nicht gelesen werden. Die Liste zeigt "
           "stattdessen \"" +
           m_path + "\".";
}

Outcome followDrive(DriveList &drive, DirectoryList &dir)
{
    const Outcome failed = dir.setPath(std::string(1, drive.letter()) + ":");
    if (failed)
        drive.revertTo(dos::driveOf(dir.path()).value_or(drive.letter()));
    return failed;
}

// ---------------------------------------------------------------------------------------------

FileList::FileList(Window &window, ControlDef def, std::string pattern)
    : Control(window, ControlKind::FileList, std::move(def))
    , m_folders(window.services().folders)
    , m_pattern(pattern)
    , m_defaultPattern(std::move(pattern))
{}

void FileList::list()
{
    if (!m_folder || m_folder->failure) {
        m_entries = std::make_shared<const std::vector<std::string>>();
        return;
    }
    // The files are sifted on the reading thread for the pattern asked for while reading.
    const auto found = m_folder->sifted.find(m_pattern);
    std::optional<std::vector<std::string>> fresh;
    const std::optional<std::vector<std::string>> &sifted =
        found != m_folder->sifted.end()
            ? found->second
            : (fresh = FolderReader::siftFiles(m_folder->files, m_pattern));
    // Where the pattern lets every file through, the list shows the directory's own names.
    if (!sifted)
        m_entries = std::shared_ptr<const std::vector<std::string>>(m_folder, &m_folder->files);
    else if (fresh)
        m_entries = std::make_shared<const std::vector<std::string>>(std::move(*fresh));
    else
        m_entries = std::shared_ptr<const std::vector<std::string>>(m_folder, &*sifted);
}

std::string FileList::listedAs(std::string_view name) const
{
    // Two files may differ in case alone where the file system keeps case apart; the name as
    // given wins, and only without it does a name that differs in case stand in for it.
    const std::vector<std::string> &names = *m_entries;
    auto found = std::find(names.begin(), names.end(), name);
    if (found == names.end())
        found = std::find_if(names.begin(), names.end(),
                             [&](const auto &n) { return dos::equalNoCase(n, name); });
    return found == names.end() ? std::string() : *found;
}

void FileList::readFiles()
{
    m_reading.reset();
    if (m_directory.empty()) {
        m_waiting = false;
        m_folder.reset();
        list();
        return;
    }
    m_waiting = true;
    m_reading = m_folders.read(
        m_directory, [this](const std::shared_ptr<const Folder> &folder) { filesArrived(folder); },
        m_pattern);
}

void FileList::setDirectory(std::string directory)
{
    m_directory = std::move(directory);
    m_chosen.clear();
    m_tentative = false;
    m_restoring.clear();
    m_folder.reset();
    m_entries = std::make_shared<const std::vector<std::string>>();
    readFiles();
    // Files that arrived at once have been shown already.
    if (!m_folder || m_waiting) {
        viewChanged();
        changed();
    }
}

void FileList::filesArrived(std::shared_ptr<const Folder> folder)
{
    m_waiting = false;
    m_folder = std::move(folder);
    list();
    if (std::exchange(m_tentative, false))
        m_chosen = listedAs(m_chosen);
    else if (!m_chosen.empty() &&
             std::find(m_entries->begin(), m_entries->end(), m_chosen) == m_entries->end())
        m_chosen.clear();
    const std::string stored = std::exchange(m_restoring, {});
    const bool gone = !stored.empty() && m_chosen.empty();
    if (gone) {
        m_pattern = m_defaultPattern;
        list();
    }
    viewChanged();
    changed();
    if (gone)
        window().note(goneNote(stored));
}

void FileList::setPattern(std::string pattern)
{
    m_pattern = std::move(pattern);
    // The files already read show at once; a fresh read then settles the list and the choice.
    list();
    const bool wasWaiting = m_waiting;
    readFiles();
    if (!m_waiting && !wasWaiting && m_directory.empty())
        m_chosen.clear();
    if (m_waiting || m_directory.empty()) {
        viewChanged();
        changed();
    }
}

void FileList::choose(std::string_view name)
{
    // While the files are read, the choice stands until they arrive and settle it.
    m_tentative = m_waiting;
    std::string chosen = m_waiting ? std::string(name) : listedAs(name);
    if (chosen == m_chosen)
        return;
    m_chosen = std::move(chosen);
    viewChanged();
    changed();
}

std::string FileList::goneNote(std::string_view stored) const
{
    return "Die zuletzt gewählte Datei \"" + std::string(stored) + "\" ist im Verzeichnis \"" +
           m_directory + "\" nicht mehr vorhanden.";
}

std::optional<std::string> FileList::restore(std::string_view text)
{
    if (text.empty()) {
        setPattern(m_defaultPattern);
        return std::nullopt;
    }
    setPattern(std::string(text));
    choose(text);
    if (m_waiting) {
        m_restoring = std::string(text);
        return std::nullopt;
    }
    if (!m_chosen.empty())
        return std::nullopt;
    setPattern(m_defaultPattern);
    return goneNote(text);
}

} // namespace kelvane

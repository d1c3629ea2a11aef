#pragma once

#include "app/folder_reader.h"
#include "app/platform.h"
#include "util/signal.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

class Window;
class GroupBox;
enum class WindowId;

// A place on a window, in pixels of its 640 by 455 client area under the menu bar.
struct Rect
{
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};

enum class ControlKind {
    Label,
    GroupBox,
    CheckBox,
    TextField,
    Button,
    DriveList,
    DirectoryList,
    FileList,
    Separator,
};

// What every control is declared with, once.
struct ControlDef
{
    std::string name;
    std::string caption;
    std::string tooltip;
    Rect geometry;
    const GroupBox *group = nullptr; // the frame it stands in; its geometry stays window-relative
};

// The model of one control. It holds state and raises its notices; it never touches a widget.
// A control registers itself with its window when constructed, so the order of a window's
// members is the order of its controls (and the tab order of the view).
class Control
{
public:
    Control(Window &window, ControlKind kind, ControlDef def);
    virtual ~Control() = default;
    Control(const Control &) = delete;
    Control &operator=(const Control &) = delete;

    ControlKind kind() const { return m_kind; }
    const std::string &name() const { return m_def.name; }
    const std::string &caption() const { return m_def.caption; }
    const std::string &tooltip() const { return m_def.tooltip; }
    const Rect &geometry() const { return m_def.geometry; }
    const GroupBox *group() const { return m_def.group; }

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    // A hidden control holds state that is never shown (the parameter fields).
    bool isHidden() const { return m_hidden; }
    void setHidden(bool hidden) { m_hidden = hidden; }

    // Raised whenever anything the view shows of this control changes.
    Signal<> viewChanged;

protected:
    Window &window() const { return m_window; }

private:
    Window &m_window;
    ControlKind m_kind;
    ControlDef m_def;
    bool m_enabled = true;
    bool m_hidden = false;
};

// A control whose state a window keeps in the settings store.
class Persistent
{
public:
    virtual ~Persistent() = default;
    virtual std::string storedText() const = 0;
    // Puts a stored text back. Returns a note for the user when the stored place could not be
    // restored and the control went somewhere else instead.
    virtual std::optional<std::string> restore(std::string_view text) = 0;
};

// How a label's text is set, where it is not in the window's own font.
struct TextLook
{
    // The family asked for first; where the system lacks it, a close sans-serif stands in.
    std::string family;
    bool bold = false;
};

// A text that wraps at its width; a run of three or more blanks in it breaks the line.
class Label : public Control
{
public:
    Label(Window &window, ControlDef def, TextLook look = {})
        : Control(window, ControlKind::Label, std::move(def))
        , m_look(std::move(look))
    {}

    const TextLook &look() const { return m_look; }

private:
    TextLook m_look;
};

// An etched line across a window: a grey line with a white one of double width below it.
class Separator : public Control
{
public:
    Separator(Window &window, ControlDef def)
        : Control(window, ControlKind::Separator, std::move(def))
    {}
};

class GroupBox : public Control
{
public:
    GroupBox(Window &window, ControlDef def)
        : Control(window, ControlKind::GroupBox, std::move(def))
    {}
};

class CheckBox : public Control, public Persistent
{
public:
    static constexpr int Unchecked = 0;
    static constexpr int Checked = 1;
    static constexpr int Grey = 2;

    CheckBox(Window &window, ControlDef def, int startState = Unchecked);

    int state() const { return m_state; }
    // Only a box in the checked state counts as chosen anywhere in the program.
    bool isChecked() const { return m_state == Checked; }
    // Raises `changed` when the state differs, whoever sets it.
    void setState(int state);

    std::string storedText() const override;
    // "0", "1" and "2" set that state; any other text (empty, a word, a number out of range,
    // possible only when the store was edited outside the program) reads as unchecked.
    std::optional<std::string> restore(std::string_view text) override;

    Signal<int> changed;

private:
    int m_state;
};

class TextField : public Control, public Persistent
{
public:
    TextField(Window &window, ControlDef def, std::string startText = {});

    const std::string &text() const { return m_text; }
    void setText(std::string text);

    std::string storedText() const override { return m_text; }
    std::optional<std::string> restore(std::string_view text) override;

    Signal<> changed;

private:
    std::string m_text;
};

class Button : public Control
{
public:
    // What a key presses besides the button itself: Enter the default button of a box,
    // Escape its cancel button.
    enum Role { Plain = 0, Default = 1, Cancel = 2 };

    Button(Window &window, ControlDef def, std::optional<WindowId> target = std::nullopt);
    Button(Window &window, ControlDef def, int roles);

    // The window a next-step button leads to; none for buttons with an action of their own.
    const std::optional<WindowId> &target() const { return m_target; }
    bool isDefault() const { return m_roles & Default; }
    bool isCancel() const { return m_roles & Cancel; }
    void click() { clicked(); }

    Signal<> clicked;

private:
    std::optional<WindowId> m_target;
    int m_roles = Plain;
};

// The drives of the system; one is current. Starts at the drive of the current directory.
class DriveList : public Control, public Persistent
{
public:
    DriveList(Window &window, ControlDef def);

    const std::vector<DriveEntry> &entries() const { return m_entries; }
    char letter() const { return m_letter; }
    // The text of the current entry.
    std::string text() const;
    // Selects the drive whose letter the text begins with; false when there is none. Raises
    // `changed` when the drive differs.
    bool setDrive(std::string_view text);
    // Selects a drive without a notice: used to put the list back after a drive that could not
    // be read, so that drive and directory agree again.
    void revertTo(char letter);
    void refresh();

    std::string storedText() const override { return text(); }
    std::optional<std::string> restore(std::string_view text) override;

    Signal<char> changed;

private:
    FileSystem &m_files;
    std::vector<DriveEntry> m_entries;
    char m_letter = 'C';
};

// One line of a directory list: the open directories from the root down to the current one,
// then the sub-directories of the current one.
struct DirectoryEntry
{
    std::string label;
    std::string path;
    int depth = 0;
    bool open = false; // the current directory or one of its ancestors
};

// The sub-directories are read in the background: until they arrive the list shows the open
// directories alone, and a newer place wins over an older one still being read.
class DirectoryList : public Control, public Persistent
{
public:
    DirectoryList(Window &window, ControlDef def);

    const std::string &path() const { return m_path; }
    // Goes to a directory; a drive letter and colon alone go to that drive's current directory.
    // Fails, and stays where it was, when the place cannot be read.
    Outcome setPath(std::string_view path);
    // The lines: the open directories, then the sub-directories, which may be a million. These
    // are kept as the names read (shared with the read), and their lines made when asked for.
    std::size_t entryCount() const { return m_open.size() + m_subdirectories->size(); }
    DirectoryEntry entry(std::size_t index) const;
    const std::vector<DirectoryEntry> &openEntries() const { return m_open; }
    const std::shared_ptr<const std::vector<std::string>> &subdirectories() const
    {
        return m_subdirectories;
    }
    // The user clicked an entry once: raises `clicked` with its path, changes nothing.
    void clickEntry(std::size_t index);
    // The user opened an entry (double click, Enter).
    Outcome openEntry(std::size_t index);

    std::string storedText() const override { return m_path; }
    // Goes to the stored directory, or to the nearest existing directory above it.
    std::optional<std::string> restore(std::string_view text) override;

    // Whether the sub-directories are still being read.
    bool isReading() const { return m_waiting; }

    Signal<const std::string &> changed;
    Signal<const std::string &> clicked;

private:
    Outcome go(std::string path);
    void showSubdirectories(const std::shared_ptr<const Folder> &folder);

    FileSystem &m_files;
    FolderReader &m_folders;
    std::string m_path;
    std::vector<DirectoryEntry> m_open;
    std::shared_ptr<const std::vector<std::string>> m_subdirectories;
    FolderReader::Ticket m_reading;
    bool m_waiting = false;
};

// Moves a directory list to the drive its drive list shows. When that drive cannot be read,
// the directory list stays and the drive list goes back to the directory's drive, so the two
// agree again; the result says why.
Outcome followDrive(DriveList &drive, DirectoryList &dir);

// The files are read in the background, for a new directory and a new pattern. A choice made while
// they are read is kept when the file is listed once they arrive, and a stored file that then is
// not listed gets its note.
class FileList : public Control, public Persistent
{
public:
    FileList(Window &window, ControlDef def, std::string pattern);

    const std::string &directory() const { return m_directory; }
    const std::string &pattern() const { return m_pattern; }
    // The chosen file's name, without directory; empty while none is chosen.
    const std::string &chosen() const { return m_chosen; }
    const std::vector<std::string> &entries() const { return *m_entries; }
    // The same names, shared. Listed names never change: a new list is a new vector.
    const std::shared_ptr<const std::vector<std::string>> &sharedEntries() const
    {
        return m_entries;
    }

    // Setting the directory or the pattern lists the files again. A new directory clears the
    // choice; a new pattern keeps it while the file is still listed.
    void setDirectory(std::string directory);
    void setPattern(std::string pattern);
    // Chooses a listed file: the one of exactly that name, else one whose name differs only in
    // case; an unlisted name chooses none.
    void choose(std::string_view name);

    std::string storedText() const override { return m_chosen; }
    // A stored name becomes the pattern, so the list shows only that file and it is chosen.
    std::optional<std::string> restore(std::string_view text) override;

    Signal<> changed;

    // Whether the directory's files are still being read.
    bool isReading() const { return m_waiting; }

private:
    void list();
    void readFiles();
    void filesArrived(std::shared_ptr<const Folder> folder);
    // The listed name that a choice of `name` chooses; empty when none.
    std::string listedAs(std::string_view name) const;
    std::string goneNote(std::string_view stored) const;

    FolderReader &m_folders;
    std::string m_directory;
    std::string m_pattern;
    std::string m_defaultPattern;
    std::string m_chosen;
    std::shared_ptr<const std::vector<std::string>> m_entries =
        std::make_shared<const std::vector<std::string>>();
    std::shared_ptr<const Folder> m_folder;
    FolderReader::Ticket m_reading;
    bool m_waiting = false;
    // The choice was made while the files were read, and is settled as a choice when they arrive.
    bool m_tentative = false;
    // A stored name restored while the files were read, settled when they arrive.
    std::string m_restoring;
};

} // namespace kelvane

#pragma once

#include "app/folder_reader.h"
#include "app/help_file.h"
#include "app/platform.h"
#include "app/services.h"
#include "app/window_set.h"
#include "settings/registry.h"
#include "settings/registry_tree.h"
#include "util/dos_path.h"

#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace kelvane::testing {

struct ShownMessage
{
    std::string text;
    MessageIcon icon;
    std::string title;
    bool operator==(const ShownMessage &) const = default;
};

void PrintTo(const ShownMessage &message, std::ostream *out);

// The two kinds of message box the program shows, with their fixed titles.
inline ShownMessage error(std::string text)
{
    return {std::move(text), MessageIcon::Critical, "Fehler!!!"};
}
inline ShownMessage information(std::string text, std::string title = "Information")
{
    return {std::move(text), MessageIcon::Information, std::move(title)};
}

class FakeMessages : public MessageService
{
public:
    void show(std::string_view text, MessageIcon icon, std::string_view title) override
    {
        shown.push_back({std::string(text), icon, std::string(title)});
    }
    std::vector<std::string> texts() const
    {
        std::vector<std::string> out;
        for (const auto &m : shown)
            out.push_back(m.text);
        return out;
    }
    std::vector<ShownMessage> shown;
};

// A DOS file system in memory. Directories and files are given by full DOS paths; a drive can
// be present but unreadable, like a CD drive without a medium.
class FakeFileSystem : public FileSystem
{
public:
    FakeFileSystem() { addDrive('C'); }

    void addDrive(char letter, bool readable = true)
    {
        m_drives[letter] = readable;
        addDirectory(std::string(1, letter) + ":\\");
    }
    // Adds a directory and every directory above it.
    void addDirectory(const std::string &path);
    void addFile(const std::string &path);
    void setCurrent(const std::string &directory) { addDirectory(m_current = directory); }

    std::vector<DriveEntry> drives() override;
    std::string currentDirectory(char drive) override
    {
        return m_current[0] == drive ? m_current : std::string(1, drive) + ":\\";
    }
    char currentDrive() override { return m_current[0]; }
    bool directoryExists(std::string_view dosPath) override;
    bool fileExists(std::string_view dosPath) override;
    Outcome canRead(std::string_view dosPath) override;
    FolderContents contents(std::string_view dosPath) override;
    // Reads at once, unless reads are held: then each waits until finishReads(), which reads
    // the directories as they are by then, oldest or newest first.
    void readInBackground(std::string dosPath, std::shared_ptr<const std::atomic_bool> cancelled,
                          std::function<void(FolderContents)> done) override;
    void finishReads(bool newestFirst = false);

    bool holdReads = false;
    int readsStarted = 0;
    int readsCancelled = 0; // cancelled before they finished

private:
    struct HeldRead
    {
        std::string path;
        std::shared_ptr<const std::atomic_bool> cancelled;
        std::function<void(FolderContents)> done;
    };
    void finish(HeldRead read);
    std::vector<HeldRead> m_held;

    bool readable(std::string_view dosPath);
    std::vector<std::string> children(std::string_view dosPath, const std::set<std::string> &from);

    std::map<char, bool> m_drives; // letter -> readable
    std::set<std::string> m_dirs;  // keys in lower case
    std::set<std::string> m_files; // as given: names may differ in case alone, as on Linux
    std::map<std::string, std::string> m_realName; // directory key -> as given
    std::string m_current = "C:\\";
};

class FakeProgram : public ProgramInfo
{
public:
    std::string programDirectory() override { return directory; }
    std::string userDataDirectory() override { return dataDirectory; }
    std::string directory = "C:\\Programme\\Kelvane";
    std::string dataDirectory = "C:\\Users\\me\\AppData\\Local\\Kelvane";
};

class FakeOpener : public DesktopOpener
{
public:
    Outcome openDocument(std::string_view dosPath) override { return openUrl(dosPath); }
    Outcome openUrl(std::string_view url) override
    {
        opened.emplace_back(url);
        return failure;
    }
    bool hasHelpViewer() override { return helpViewer; }
    // Recorded as "<file>::/<page>", the way a help viewer names a page of a compiled file.
    Outcome openHelpPage(std::string_view chmPath, std::string_view page) override
    {
        return openUrl(std::string(chmPath) + "::/" + std::string(page));
    }
    std::vector<std::string> opened;
    Outcome failure;
    bool helpViewer = true;
};

class FakeWriter : public TextFileWriter
{
public:
    Outcome writeFile(std::string_view dosPath, std::string_view bytes) override
    {
        if (const auto found = failingDirectories.find(dos::parent(dosPath).value_or(""));
            found != failingDirectories.end())
            return found->second;
        written[std::string(dosPath)] = std::string(bytes);
        return std::nullopt;
    }
    std::map<std::string, std::string> written;
    std::map<std::string, Failure> failingDirectories; // writes into these fail
};

class FakeLauncher : public ProgramLauncher
{
public:
    Outcome startScript(std::string_view dosPath) override { return startProgram(dosPath); }
    Outcome startProgram(std::string_view dosPath) override
    {
        if (!failure)
            started.emplace_back(dosPath);
        return failure;
    }
    unsigned scriptCodePage() override { return codePage; }
    std::vector<std::string> started;
    Outcome failure;
    unsigned codePage = 850;
};

// A system that names no information program and has none of its own.
class FakeSystemInformation : public SystemInformation
{
public:
    std::optional<std::string> GetKeyValue(int, std::string_view, std::string_view) override
    {
        return std::nullopt;
    }
    Outcome startDesktopProgram() override { return Failure{"none"}; }
};

// Records what the window set asks of the user interface.
class FakeHost : public WindowHost
{
public:
    void showWindow(Window &window) override
    {
        visible.insert(window.id());
        events.push_back("show " + std::string(windowName(window.id())));
    }
    void hideWindow(Window &window) override
    {
        visible.erase(window.id());
        events.push_back("hide " + std::string(windowName(window.id())));
    }
    void closeWindow(Window &window) override { visible.erase(window.id()); }
    void quit() override { quitCalled = true; }

    bool isVisible(WindowId id) const { return visible.contains(id); }
    std::set<WindowId> visible;
    std::vector<std::string> events; // "show HL_MOD", "hide start_window", …
    bool quitCalled = false;
};

// Runs every task at once, where it is posted.
class ImmediateThread : public InterfaceThread
{
public:
    void post(std::function<void()> task) override { task(); }
};

// The services of a window, in memory, without a window set.
struct TestServices
{
    TestServices() { files.addDirectory("C:\\Programme\\Kelvane"); }

    MemoryRegistryBackend backend;
    Registry registry{backend};
    FakeMessages messages;
    FakeFileSystem files;
    FakeProgram program;
    FakeOpener opener;
    FakeWriter writer;
    FakeLauncher launcher;
    HelpFile help{files, opener, messages};
    FakeSystemInformation systemInformation;
    ImmediateThread interfaceThread;
    FolderReader folders{files, interfaceThread};
    Services services{registry, messages, files, program,           opener,
                      writer,   launcher, help,  systemInformation, folders};
};

// Everything a window needs, in memory, with a window set on top.
struct TestApp : TestServices
{
    FakeHost host;
    WindowSet windows{services, host};

    // Stores a window's values as an earlier run would have.
    void stored(const std::string &windowKey, const std::string &name, const std::string &text)
    {
        backend.putRaw(windowKeyPath(windowKey), name, RegType::String, text);
    }
    std::string read(const std::string &windowKey, const std::string &name)
    {
        return registry.ReadValue(kCurrentUser, windowKeyPath(windowKey), name);
    }
    bool keyExists(const std::string &key)
    {
        return registry.KeyExists(kCurrentUser, windowKeyPath(key));
    }
    // The values written since the store's calls were last cleared, in order, as they read
    // now: "name=text|name=text".
    std::string written(const std::string &windowKey);
};

} // namespace kelvane::testing

#pragma once

#include "app/help_file.h"
#include "app/platform.h"
#include "app/services.h"
#include "app/window_set.h"
#include "settings/registry.h"
#include "settings/registry_tree.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace kelvane::testing {

struct ShownMessage
{
    std::string text;
    MessageIcon icon;
    std::string title;
};

class FakeMessages : public MessageService
{
public:
    void show(std::string_view text, MessageIcon icon, std::string_view title) override
    {
        shown.push_back({std::string(text), icon, std::string(title)});
    }
    std::vector<std::string> texts() const;
    std::vector<ShownMessage> shown;
};

// A DOS file system in memory. Directories and files are given by full DOS paths; a drive can
// be present but unreadable, like a CD drive without a medium.
class FakeFileSystem : public FileSystem
{
public:
    FakeFileSystem();

    void addDrive(char letter, bool readable = true);
    void removeDrive(char letter);
    void setReadable(char letter, bool readable);
    // Adds a directory and every directory above it.
    void addDirectory(const std::string &path);
    void addFile(const std::string &path);
    void setCurrent(const std::string &directory);

    std::vector<DriveEntry> drives() override;
    std::string currentDirectory(char driveLetter) override;
    char currentDrive() override;
    bool directoryExists(std::string_view dosPath) override;
    bool fileExists(std::string_view dosPath) override;
    Listing<std::string> subdirectories(std::string_view dosPath) override;
    Listing<std::string> files(std::string_view dosPath) override;

    int listings = 0;

private:
    Listing<std::string> children(std::string_view dosPath, const std::set<std::string> &from);

    std::map<char, bool> m_drives; // letter -> readable
    std::set<std::string> m_dirs;  // keys in lower case
    std::set<std::string> m_files;
    std::map<std::string, std::string> m_realName; // lower case -> as given
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
    Outcome openDocument(std::string_view dosPath) override;
    Outcome openUrl(std::string_view url) override;
    std::vector<std::string> opened;
    Outcome failure;
};

class FakeWriter : public TextFileWriter
{
public:
    Outcome writeFile(std::string_view dosPath, std::string_view bytes) override;
    std::map<std::string, std::string> written;
    Outcome failure;                                  // every write fails
    std::map<std::string, Failure> failingDirectories; // writes into these fail
};

class FakeLauncher : public ProgramLauncher
{
public:
    Outcome startScript(std::string_view dosPath) override;
    Outcome startProgram(std::string_view dosPath) override;
    unsigned scriptCodePage() override { return codePage; }
    std::vector<std::string> started;
    Outcome failure;
    unsigned codePage = 850;
};

// Records what the window set asks of the user interface.
class FakeHost : public WindowHost
{
public:
    void showWindow(Window &window) override;
    void hideWindow(Window &window) override;
    void closeWindow(Window &window) override;
    void quit() override { quitCalled = true; }

    bool isVisible(WindowId id) const { return visible.contains(id); }
    std::set<WindowId> visible;
    std::vector<std::string> events; // "show HL_MOD", "hide start_window", …
    bool quitCalled = false;
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
    Services services{registry, messages, files, program, opener, writer, launcher, help};
};

// Everything a window needs, in memory, with a window set on top.
struct TestApp : TestServices
{
    FakeHost host;
    WindowSet windows{services, host};

    // Stores a window's values as an earlier run would have.
    void stored(const std::string &windowKey, const std::string &name, const std::string &text);
    std::string read(const std::string &windowKey, const std::string &name);
    bool keyExists(const std::string &windowKey);
};

} // namespace kelvane::testing

#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the windows need from the desktop and the operating system. The core holds only these
// interfaces; each platform implements them, and tests use in-memory fakes.
//
// All paths that cross these interfaces are DOS paths ("C:\Maps\test.map"): a drive letter, a
// colon and backslash-separated components. On Linux the platform presents the file system the
// way Wine does, so that the paths are valid in the script that Wine's command interpreter runs.

namespace kelvane {

enum class MessageIcon { None, Critical, Information };

// A failure the user can act on: its text is shown as it stands.
struct Failure
{
    std::string message;
};

// Either nothing (success) or a failure.
using Outcome = std::optional<Failure>;

class MessageService
{
public:
    virtual ~MessageService() = default;
    // Shows a box with one "OK" button and returns when the user has closed it.
    virtual void show(std::string_view text, MessageIcon icon, std::string_view title) = 0;
};

struct DriveEntry
{
    char letter = 'C'; // upper case
    std::string text;  // what the drive list shows; begins with the lower-case letter and ':'
};

// What a directory holds, read in one pass: the names of its sub-directories and of its plain
// files, in any order.
struct FolderContents
{
    std::vector<std::string> directories;
    std::vector<std::string> files;
    std::optional<Failure> failure; // set when the place could not be read
};

// Hands work to the thread the windows run on, from any thread.
class InterfaceThread
{
public:
    virtual ~InterfaceThread() = default;
    // Runs the task on the interface thread once the work it is doing now is over.
    virtual void post(std::function<void()> task) = 0;
};

class FileSystem
{
public:
    virtual ~FileSystem() = default;

    virtual std::vector<DriveEntry> drives() = 0;
    // The current directory of the process on the given drive, as a DOS path ("C:\" at least).
    virtual std::string currentDirectory(char driveLetter) = 0;
    // The drive of the process's current directory.
    virtual char currentDrive() = 0;
    virtual bool directoryExists(std::string_view dosPath) = 0;
    virtual bool fileExists(std::string_view dosPath) = 0;
    // Why a directory cannot be read, if it cannot; quick, as it does not list the directory.
    virtual Outcome canRead(std::string_view dosPath) = 0;
    // Both kinds of entry of a directory, read at once.
    virtual FolderContents contents(std::string_view dosPath) = 0;
    // Reads a directory's contents away from the interface thread and hands them to `done`, on
    // whatever thread read them. A read whose `cancelled` is set may stop early and hand over
    // anything or nothing.
    virtual void readInBackground(std::string dosPath,
                                  std::shared_ptr<const std::atomic_bool> cancelled,
                                  std::function<void(FolderContents)> done) = 0;
    // A path as the user looks for it on this system, for messages.
    virtual std::string shownPath(std::string_view dosPath) { return std::string(dosPath); }
};

class ProgramInfo
{
public:
    virtual ~ProgramInfo() = default;
    // The directory of the program's own file, without a trailing backslash except at a root.
    virtual std::string programDirectory() = 0;
    // A directory of the user's own where the program may always write (created on demand);
    // empty when there is none.
    virtual std::string userDataDirectory() = 0;
    // The directory of the help file and its pages: the program's own, unless the system keeps
    // an installed program's data apart from it.
    virtual std::string helpDirectory() { return programDirectory(); }
};

class DesktopOpener
{
public:
    virtual ~DesktopOpener() = default;
    // Opens a document with the program the desktop associates with it.
    virtual Outcome openDocument(std::string_view dosPath) = 0;
    // Opens a web page or a mail link.
    virtual Outcome openUrl(std::string_view url) = 0;
    // Whether the desktop has a program that shows compiled help files (".chm").
    virtual bool hasHelpViewer() = 0;
    // Shows a compiled help file at one of its pages ("csg_optionen.html"); a viewer that
    // cannot be handed a page shows the file from its start.
    virtual Outcome openHelpPage(std::string_view chmPath, std::string_view page) = 0;
};

class TextFileWriter
{
public:
    virtual ~TextFileWriter() = default;
    // Creates or replaces the file whole with exactly these bytes.
    virtual Outcome writeFile(std::string_view dosPath, std::string_view bytes) = 0;
};

class ProgramLauncher
{
public:
    virtual ~ProgramLauncher() = default;
    // Starts a batch script in a window of its own, without waiting for it.
    virtual Outcome startScript(std::string_view dosPath) = 0;
    // Starts a program (a DOS path) without waiting for it.
    virtual Outcome startProgram(std::string_view dosPath) = 0;
    // The code page in which the command interpreter that startScript runs reads a batch
    // file: the system's OEM code page on Windows, the one of Wine's locale under Wine. 0 when
    // unknown; a script then takes ASCII text only.
    virtual unsigned scriptCodePage() { return 0; }
};

// Where the system keeps its system-information program.
class SystemInformation
{
public:
    // The root index of HKEY_LOCAL_MACHINE, where Windows names that program.
    static constexpr int kLocalMachine = 2;

    virtual ~SystemInformation() = default;
    // A string value of the system registry: the key opened, the value read into 1024 bytes,
    // the key closed. None when either cannot be read, and on a system without that registry.
    virtual std::optional<std::string> GetKeyValue(int rootIndex, std::string_view key,
                                                   std::string_view valueName) = 0;
    // Starts the desktop's own system-information program, on a system whose registry names
    // none; a failure when there is no such program.
    virtual Outcome startDesktopProgram() = 0;
};

} // namespace kelvane

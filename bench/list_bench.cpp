// How long a directory list and a file list take to show a directory of 100,000 entries: the
// listing through the file system, the models, and the view built and painted.
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include "app/folder_reader.h"
#include "app/help_file.h"
#include "app/services.h"
#include "app/window.h"
#include "platform/posix/posix_file_system.h"
#include "settings/registry.h"
#include "settings/registry_tree.h"
#include "ui/blueprint.h"
#include "ui/form_view.h"
#include "ui/qt_interface_thread.h"

#include <QApplication>
#include <QListView>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>

namespace kelvane {
namespace {

namespace fs = std::filesystem;

constexpr int kEntries = 100'000;

class SilentMessages : public MessageService
{
public:
    void show(std::string_view, MessageIcon, std::string_view) override {}
};

class NoProgram : public ProgramInfo
{
public:
    std::string programDirectory() override { return "Z:\\"; }
    std::string userDataDirectory() override { return {}; }
};

class NoOpener : public DesktopOpener
{
public:
    Outcome openDocument(std::string_view) override { return std::nullopt; }
    Outcome openUrl(std::string_view) override { return std::nullopt; }
    bool hasHelpViewer() override { return false; }
    Outcome openHelpPage(std::string_view, std::string_view) override { return std::nullopt; }
};

class NoWriter : public TextFileWriter
{
public:
    Outcome writeFile(std::string_view, std::string_view) override { return std::nullopt; }
};

class NoLauncher : public ProgramLauncher
{
public:
    Outcome startScript(std::string_view) override { return std::nullopt; }
    Outcome startProgram(std::string_view) override { return std::nullopt; }
};

class NoSystemInformation : public SystemInformation
{
public:
    std::optional<std::string> GetKeyValue(int, std::string_view, std::string_view) override
    {
        return std::nullopt;
    }
    Outcome startDesktopProgram() override { return Failure{}; }
};

// The two lists as the start window has them, side by side.
class ListWindow : public Window
{
public:
    explicit ListWindow(Services &services)
        : Window(WindowId::start_window, "Listen", "", services)
    {}

    DirectoryList directories{*this, {"directories", {}, {}, {20, 20, 290, 420}}};
    FileList files{*this, {"files", {}, {}, {330, 20, 290, 420}}, "*.map"};
};

// A directory with 100,000 sub-directories and one with 100,000 maps, made once.
struct BigDirectories
{
    BigDirectories()
    {
        root = fs::temp_directory_path() / ("kelvane-lists-" + std::to_string(::getpid()));
        fs::create_directories(root / "dirs");
        fs::create_directories(root / "maps");
        char name[32];
        for (int i = 0; i < kEntries; ++i) {
            std::snprintf(name, sizeof name, "level_%06d", (i * 7919) % kEntries);
            fs::create_directory(root / "dirs" / name);
            std::snprintf(name, sizeof name, "map_%06d.map", (i * 7919) % kEntries);
            std::ofstream(root / "maps" / name);
        }
    }
    ~BigDirectories() { fs::remove_all(root); }

    fs::path root;
};

std::string toDos(std::string unixPath)
{
    for (char &c : unixPath)
        if (c == '/')
            c = '\\';
    return "Z:" + unixPath;
}

struct Setup
{
    Setup()
        : files(WineDrives(std::nullopt))
    {}

    MemoryRegistryBackend backend;
    Registry registry{backend};
    SilentMessages messages;
    PosixFileSystem files;
    NoProgram program;
    NoOpener opener;
    NoWriter writer;
    NoLauncher launcher;
    HelpFile help{files, opener, messages};
    NoSystemInformation systemInformation;
    QtInterfaceThread interfaceThread;
    FolderReader folders{files, interfaceThread};
    Services services{registry, messages, files, program,           opener,
                      writer,   launcher, help,  systemInformation, folders};
};

// Lets the event loop run until both lists have what they read.
void waitForLists(const ListWindow &window)
{
    while (window.directories.isReading() || window.files.isReading())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

const BigDirectories &bigDirectories()
{
    static const BigDirectories made;
    return made;
}

// Shows the view and returns once its lists have been painted.
void showAndPaint(FormView &view)
{
    view.show();
    for (QListView *list : view.findChildren<QListView *>())
        list->viewport()->repaint();
    QCoreApplication::processEvents();
}

void DirectoryListShow(benchmark::State &state)
{
    const std::string big = toDos((bigDirectories().root / "dirs").string());
    Setup setup;
    for (auto _ : state) {
        ListWindow window(setup.services);
        if (window.directories.setPath(big))
            state.SkipWithError("the directory could not be listed");
        waitForLists(window);
        FormView view(window, setup.services);
        showAndPaint(view);
        benchmark::DoNotOptimize(view.findChild<QListView *>("directories")->model()->rowCount());
    }
    state.counters["entries"] = kEntries;
}

void FileListShow(benchmark::State &state)
{
    const std::string big = toDos((bigDirectories().root / "maps").string());
    Setup setup;
    for (auto _ : state) {
        ListWindow window(setup.services);
        window.files.setDirectory(big);
        waitForLists(window);
        FormView view(window, setup.services);
        showAndPaint(view);
        benchmark::DoNotOptimize(view.findChild<QListView *>("files")->model()->rowCount());
    }
    state.counters["entries"] = kEntries;
}

// The same without a view: what the listing and the models cost alone.
void DirectoryListModelOnly(benchmark::State &state)
{
    const std::string big = toDos((bigDirectories().root / "dirs").string());
    Setup setup;
    for (auto _ : state) {
        ListWindow window(setup.services);
        if (window.directories.setPath(big))
            state.SkipWithError("the directory could not be listed");
        waitForLists(window);
        benchmark::DoNotOptimize(window.directories.entryCount());
    }
}

void FileListModelOnly(benchmark::State &state)
{
    const std::string big = toDos((bigDirectories().root / "maps").string());
    Setup setup;
    for (auto _ : state) {
        ListWindow window(setup.services);
        window.files.setDirectory(big);
        waitForLists(window);
        benchmark::DoNotOptimize(window.files.entries().size());
    }
}

// The user picks another directory while the window is up: the list and the view change.
void FileListChangeDirectory(benchmark::State &state)
{
    const std::string big = toDos((bigDirectories().root / "maps").string());
    const std::string small = toDos(bigDirectories().root.string());
    Setup setup;
    ListWindow window(setup.services);
    FormView view(window, setup.services);
    showAndPaint(view);
    for (auto _ : state) {
        window.files.setDirectory(big);
        waitForLists(window);
        view.findChild<QListView *>("files")->viewport()->repaint();
        state.PauseTiming();
        window.files.setDirectory(small);
        waitForLists(window);
        state.ResumeTiming();
    }
}

BENCHMARK(DirectoryListShow)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(5);
BENCHMARK(FileListShow)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(5);
BENCHMARK(DirectoryListModelOnly)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(5);
BENCHMARK(FileListModelOnly)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(5);
BENCHMARK(FileListChangeDirectory)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(5);

} // namespace
} // namespace kelvane

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    kelvane::bigDirectories();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

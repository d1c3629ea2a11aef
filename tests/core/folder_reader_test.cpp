#include "app/folder_read_queue.h"
#include "app/folder_reader.h"
#include "support/fakes.h"

#include <algorithm>
#include <future>
#include <gtest/gtest.h>
#include <thread>

namespace kelvane {
namespace {

using testing::FakeFileSystem;
using testing::ImmediateThread;

// Keeps every task until the test runs them, as an event loop would between its turns.
class QueuedThread : public InterfaceThread
{
public:
    void post(std::function<void()> task) override { tasks.push_back(std::move(task)); }
    void runAll()
    {
        while (!tasks.empty()) {
            auto task = std::move(tasks.front());
            tasks.erase(tasks.begin());
            task();
        }
    }
    std::vector<std::function<void()>> tasks;
};

class FolderReaderTest : public ::testing::Test
{
protected:
    FolderReaderTest()
    {
        files.addFile("C:\\Maps\\b.map");
        files.addFile("C:\\Maps\\A.map");
        files.addDirectory("C:\\Maps\\old");
        files.holdReads = true;
    }

    FakeFileSystem files;
    QueuedThread thread;
    FolderReader reader{files, thread};
};

TEST_F(FolderReaderTest, AReadNobodyWaitsForIsCancelledAndDeliversNothing)
{
    int delivered = 0;
    auto first = reader.read("C:\\Maps", [&](const auto &) { ++delivered; });
    auto second = reader.read("C:\\Maps", [&](const auto &) { ++delivered; });
    first.reset();
    files.finishReads();
    EXPECT_EQ(delivered, 0) << "the contents come on the interface thread";
    thread.runAll();
    EXPECT_EQ(delivered, 1);
    EXPECT_EQ(files.readsCancelled, 0) << "one list still waited";

    // Asked for again while the cancelled read still ends: a read of its own, delivered whole.
    std::shared_ptr<const Folder> got;
    reader.read("C:\\Maps", [&](const auto &) { ++delivered; }).reset();
    const auto again = reader.read("C:\\Maps", [&](const auto &folder) { got = folder; });
    EXPECT_EQ(files.heldReads().size(), 2u);
    files.finishReads();
    thread.runAll();
    ASSERT_TRUE(got);
    EXPECT_EQ(got->files, (std::vector<std::string>{"A.map", "b.map"}));
    EXPECT_EQ(delivered, 1);
    EXPECT_EQ(files.readsCancelled, 1);
}

// The file systems' background reads: away from the caller, one after another; a read given up
// before its turn is skipped, and the queue going drops the waiting ones but lets the running
// one end.
TEST(FolderReadQueueTest, ReadsOneAfterAnotherAwayFromTheCallerAndSkipsWhatWasGivenUp)
{
    std::promise<void> gate, running;
    std::shared_future<void> opened = gate.get_future().share();
    std::mutex mutex;
    std::vector<std::string> read, done;
    std::thread::id reader;
    auto queue =
        std::make_unique<FolderReadQueue>([&](const std::string &path, const std::atomic_bool &) {
            if (path == "E")
                running.set_value();
            opened.wait();
            const std::lock_guard lock(mutex);
            read.push_back(path);
            reader = std::this_thread::get_id();
            return FolderContents{{path + "-dir"}, {}, std::nullopt};
        });
    std::promise<void> secondDone, lastDone;
    const auto note = [&](std::promise<void> *signal) {
        return [&, signal](FolderContents contents) {
            {
                const std::lock_guard lock(mutex);
                done.push_back(contents.directories.at(0));
            }
            if (signal)
                signal->set_value();
        };
    };
    const auto cancelled = std::make_shared<std::atomic_bool>(false);
    queue->post("A", std::make_shared<std::atomic_bool>(false), note(nullptr));
    queue->post("B", std::make_shared<std::atomic_bool>(false), note(&secondDone));
    queue->post("C", cancelled, note(nullptr));
    queue->post("D", std::make_shared<std::atomic_bool>(false), note(&lastDone));
    cancelled->store(true);
    gate.set_value();
    lastDone.get_future().wait();
    {
        const std::lock_guard lock(mutex);
        EXPECT_EQ(read, (std::vector<std::string>{"A", "B", "D"}));
        EXPECT_EQ(done, (std::vector<std::string>{"A-dir", "B-dir", "D-dir"}));
        EXPECT_NE(reader, std::this_thread::get_id());
    }

    // Going while a read runs and another waits: the running one ends, the waiting one is
    // dropped.
    std::promise<void> second;
    opened = second.get_future().share();
    std::promise<void> runningDone;
    queue->post("E", std::make_shared<std::atomic_bool>(false), note(&runningDone));
    queue->post("F", std::make_shared<std::atomic_bool>(false), note(nullptr));
    running.get_future().wait();
    // Let go once the queue is going (the wait is only there so that it is, on a busy machine).
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        second.set_value();
    });
    queue.reset();
    release.join();
    EXPECT_EQ(done.back(), "E-dir");
    EXPECT_EQ(std::count(read.begin(), read.end(), "F"), 0);
}

} // namespace
} // namespace kelvane

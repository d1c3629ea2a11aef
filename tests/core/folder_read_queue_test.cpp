#include "app/folder_read_queue.h"

#include <algorithm>
#include <future>
#include <gtest/gtest.h>
#include <thread>

namespace kelvane {
namespace {

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

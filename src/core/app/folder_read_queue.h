#pragma once

#include "app/platform.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace kelvane {

// Reads directories one after another on a thread of its own, for a file system's
// readInBackground(): the thread starts with the first read asked for. A read cancelled before
// its turn is skipped; reads still waiting when the queue goes are dropped, and the one under
// way is waited for.
class FolderReadQueue
{
public:
    // Reads a directory, both kinds of entry; may stop early once `cancelled` is set.
    using ReadFolder = std::function<FolderContents(const std::string &dosPath,
                                                    const std::atomic_bool &cancelled)>;

    explicit FolderReadQueue(ReadFolder read);
    ~FolderReadQueue();
    FolderReadQueue(const FolderReadQueue &) = delete;
    FolderReadQueue &operator=(const FolderReadQueue &) = delete;

    void post(std::string dosPath, std::shared_ptr<const std::atomic_bool> cancelled,
              std::function<void(FolderContents)> done);

private:
    struct Job
    {
        std::string path;
        std::shared_ptr<const std::atomic_bool> cancelled;
        std::function<void(FolderContents)> done;
    };
    void work();

    ReadFolder m_read;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Job> m_jobs;
    bool m_stopping = false;
    std::thread m_worker;
};

} // namespace kelvane

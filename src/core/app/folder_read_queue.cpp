#include "app/folder_read_queue.h"

namespace kelvane {

FolderReadQueue::FolderReadQueue(ReadFolder read)
    : m_read(std::move(read))
{}

FolderReadQueue::~FolderReadQueue()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_jobs.clear();
    }
    m_wake.notify_one();
    if (m_worker.joinable())
        m_worker.join();
}

void FolderReadQueue::post(std::string dosPath, std::shared_ptr<const std::atomic_bool> cancelled,
                           std::function<void(FolderContents)> done)
{
    {
        const std::lock_guard lock(m_mutex);
        m_jobs.push_back({std::move(dosPath), std::move(cancelled), std::move(done)});
        if (!m_worker.joinable())
            m_worker = std::thread([this] { work(); });
    }
    m_wake.notify_one();
}

void FolderReadQueue::work()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
        if (m_stopping)
            return;
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        lock.unlock();
        if (!job.cancelled->load())
            job.done(m_read(job.path, *job.cancelled));
        lock.lock();
    }
}

} // namespace kelvane

#include "app/folder_reader.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace kelvane {

FolderContents FileSystem::contents(std::string_view dosPath)
{
    FolderContents contents;
    auto directories = subdirectories(dosPath);
    if (directories.failure) {
        contents.failure = std::move(directories.failure);
        return contents;
    }
    auto plainFiles = files(dosPath);
    contents.directories = std::move(directories.entries);
    contents.files = std::move(plainFiles.entries);
    contents.failure = std::move(plainFiles.failure);
    return contents;
}

void FileSystem::readInBackground(std::string dosPath,
                                  std::shared_ptr<const std::atomic_bool> /*cancelled*/,
                                  std::function<void(FolderContents)> done)
{
    done(contents(dosPath));
}

// ---------------------------------------------------------------------------------------------

struct FolderReader::Read
{
    std::string path;
    std::shared_ptr<std::atomic_bool> cancelled = std::make_shared<std::atomic_bool>(false);
    std::vector<std::weak_ptr<Request>> waiting;
    int waiters = 0;
};

class FolderReader::Request
{
public:
    Request(std::shared_ptr<Read> read, Done done)
        : m_read(std::move(read))
        , m_done(std::move(done))
    {
        ++m_read->waiters;
    }

    ~Request() { withdraw(); }

    void withdraw()
    {
        if (!m_read)
            return;
        if (--m_read->waiters == 0)
            m_read->cancelled->store(true);
        m_read.reset();
    }

    void deliver(const std::shared_ptr<const Folder> &folder)
    {
        if (!m_read)
            return;
        withdraw();
        const Done done = std::move(m_done);
        done(folder);
    }

private:
    std::shared_ptr<Read> m_read;
    Done m_done;
};

FolderReader::FolderReader(FileSystem &files, InterfaceThread &thread)
    : m_files(files)
    , m_thread(thread)
    , m_link(std::make_shared<Link>())
{
    m_link->reader = this;
}

FolderReader::~FolderReader()
{
    const std::lock_guard lock(m_link->mutex);
    m_link->reader = nullptr;
}

FolderReader::Ticket FolderReader::read(std::string dosPath, Done done)
{
    std::shared_ptr<Read> read = m_running[dosPath].lock();
    const bool start = !read;
    if (start) {
        read = std::make_shared<Read>();
        read->path = dosPath;
        m_running[dosPath] = read;
    }
    auto ticket = std::make_shared<Request>(read, std::move(done));
    read->waiting.push_back(ticket);
    if (!start)
        return ticket;

    const std::weak_ptr<Read> running = read;
    const std::shared_ptr<Link> link = m_link;
    m_files.readInBackground(std::move(dosPath), read->cancelled,
                             [running, link](FolderContents contents) {
                                 // On the thread that read the directory: the sorting happens there
                                 // too.
                                 auto folder = std::make_shared<Folder>();
                                 folder->failure = std::move(contents.failure);
                                 folder->directories = std::move(contents.directories);
                                 folder->files = std::move(contents.files);
                                 sortNames(folder->directories);
                                 sortNames(folder->files);
                                 const std::lock_guard lock(link->mutex);
                                 if (!link->reader)
                                     return;
                                 link->reader->m_thread.post([running, link, folder] {
                                     const std::shared_ptr<Read> read = running.lock();
                                     if (read && link->reader)
                                         link->reader->deliver(read, folder);
                                 });
                             });
    return ticket;
}

void FolderReader::deliver(const std::shared_ptr<Read> &read,
                           const std::shared_ptr<const Folder> &folder)
{
    if (const auto found = m_running.find(read->path);
        found != m_running.end() && found->second.lock() == read)
        m_running.erase(found);
    // A list may drop or make requests while it takes its contents.
    const std::vector<std::weak_ptr<Request>> waiting = std::move(read->waiting);
    for (const auto &weak : waiting) {
        if (const Ticket ticket = weak.lock())
            ticket->deliver(folder);
    }
}

void FolderReader::sortNames(std::vector<std::string> &names)
{
    // Case-blind, then by the bytes: the order of dos::lessNoCase.
    std::vector<std::string> keys;
    keys.reserve(names.size());
    for (const std::string &name : names) {
        std::string key = name;
        for (char &c : key)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        keys.push_back(std::move(key));
    }
    std::vector<std::uint32_t> order(names.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        if (const int byKey = keys[a].compare(keys[b]))
            return byKey < 0;
        return names[a] < names[b];
    });
    keys = {};
    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (const std::uint32_t i : order)
        sorted.push_back(std::move(names[i]));
    names = std::move(sorted);
}

} // namespace kelvane

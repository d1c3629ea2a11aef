#include "app/folder_reader.h"

#include "util/dos_path.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace kelvane {

struct FolderReader::Read
{
    std::string path;
    // The patterns to sift through, shared with the reading thread.
    std::mutex siftsMutex;
    std::vector<std::string> sifts;
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

FolderReader::Ticket FolderReader::read(std::string dosPath, Done done, std::string sift)
{
    // A read that everyone gave up on may still be stopping; it is not joined.
    std::shared_ptr<Read> read = m_running[dosPath].lock();
    if (read && read->cancelled->load())
        read.reset();
    std::erase_if(m_running, [&](const auto &entry) {
        return entry.first != dosPath && entry.second.expired();
    });
    const bool start = !read;
    if (start) {
        read = std::make_shared<Read>();
        read->path = dosPath;
        m_running[dosPath] = read;
    }
    auto ticket = std::make_shared<Request>(read, std::move(done));
    read->waiting.push_back(ticket);
    if (!sift.empty()) {
        const std::lock_guard lock(read->siftsMutex);
        if (std::find(read->sifts.begin(), read->sifts.end(), sift) == read->sifts.end())
            read->sifts.push_back(std::move(sift));
    }
    if (!start)
        return ticket;

    const std::weak_ptr<Read> running = read;
    const std::shared_ptr<Link> link = m_link;
    // On the thread that read the directory: the sorting and sifting happen there too.
    auto arrived = [running, link](FolderContents contents) {
        auto folder = std::make_shared<Folder>(Folder{std::move(contents), {}});
        sortNames(folder->directories);
        sortNames(folder->files);
        std::vector<std::string> sifts;
        if (const std::shared_ptr<Read> read = running.lock()) {
            const std::lock_guard lock(read->siftsMutex);
            sifts = read->sifts;
        }
        for (const std::string &sift : sifts)
            folder->sifted.emplace(sift, siftFiles(folder->files, sift));
        const std::lock_guard lock(link->mutex);
        if (!link->reader)
            return;
        link->reader->m_thread.post([running, link, folder] {
            const std::shared_ptr<Read> read = running.lock();
            if (read && link->reader)
                link->reader->deliver(read, folder);
        });
    };
    m_files.readInBackground(std::move(dosPath), read->cancelled, std::move(arrived));
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

std::optional<std::vector<std::string>>
FolderReader::siftFiles(const std::vector<std::string> &files, std::string_view pattern)
{
    const dos::Pattern sieve(pattern);
    const auto firstLeftOut = std::find_if_not(
        files.begin(), files.end(), [&](const std::string &name) { return sieve.matches(name); });
    if (firstLeftOut == files.end())
        return std::nullopt;
    std::vector<std::string> passed(files.begin(), firstLeftOut);
    for (auto it = firstLeftOut + 1; it < files.end(); ++it)
        if (sieve.matches(*it))
            passed.push_back(*it);
    return passed;
}

void FolderReader::sortNames(std::vector<std::string> &names)
{
    // Case-blind, then by the bytes: the order of dos::lessNoCase. A name's key is the name
    // itself where it has no capital letter, else its lowered copy, made once.
    const auto capital = [](char c) { return c >= 'A' && c <= 'Z'; };
    std::size_t capitalised = 0;
    for (const std::string &name : names)
        capitalised += std::any_of(name.begin(), name.end(), capital) ? 1 : 0;
    std::vector<std::string> lowered;
    lowered.reserve(capitalised);
    std::vector<const std::string *> keys;
    keys.reserve(names.size());
    for (const std::string &name : names) {
        if (!std::any_of(name.begin(), name.end(), capital)) {
            keys.push_back(&name);
            continue;
        }
        lowered.push_back(dos::lowered(name));
        keys.push_back(&lowered.back());
    }
    std::vector<std::uint32_t> order(names.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        if (const int byKey = keys[a]->compare(*keys[b]))
            return byKey < 0;
        return names[a] < names[b];
    });
    keys = {};
    lowered = {};
    // Each place takes the name the order puts there, cycle by cycle, without a second vector.
    for (std::uint32_t i = 0; i < order.size(); ++i) {
        if (order[i] == i)
            continue;
        std::string held = std::move(names[i]);
        std::uint32_t at = i;
        while (true) {
            const std::uint32_t from = order[at];
            order[at] = at;
            if (from == i) {
                names[at] = std::move(held);
                break;
            }
            names[at] = std::move(names[from]);
            at = from;
        }
    }
}

} // namespace kelvane

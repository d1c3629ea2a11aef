#pragma once

#include "app/platform.h"

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace kelvane {

// A directory's contents as the lists show them: names in case-blind order, and names that
// differ in case alone in one fixed order.
struct Folder : FolderContents
{
    // The files each pattern asked for while the directory was read lets through, sifted on the
    // reading thread; none where it lets every file through.
    std::map<std::string, std::optional<std::vector<std::string>>> sifted;
};

// Reads directories for the lists that show them. A directory is read once for every list that
// asks for it while the read runs. Reading and sorting happen away from the interface thread;
// the contents come back on it, whole, to each list still waiting for them.
class FolderReader
{
public:
    // A list's request. Dropping it withdraws the request, so that a newer one wins over an
    // older one still running; a read that no request waits for any longer is cancelled.
    class Request;
    using Ticket = std::shared_ptr<Request>;
    using Done = std::function<void(const std::shared_ptr<const Folder> &)>;

    FolderReader(FileSystem &files, InterfaceThread &thread);
    ~FolderReader();
    FolderReader(const FolderReader &) = delete;
    FolderReader &operator=(const FolderReader &) = delete;

    // Asks for a directory's contents; `done` runs on the interface thread with them, unless
    // the ticket is dropped before. With a file system and a thread that do everything at once,
    // it runs before this returns. A file pattern, when given, is sifted through on the reading
    // thread if the read has not ended by then.
    [[nodiscard]] Ticket read(std::string dosPath, Done done, std::string sift = {});

    // The files a pattern lets through, in their order; none when it lets every one through.
    static std::optional<std::vector<std::string>> siftFiles(const std::vector<std::string> &files,
                                                             std::string_view pattern);
    // Sorts names as the lists show them, working out each name's sort key once.
    static void sortNames(std::vector<std::string> &names);

private:
    struct Read;
    // What a read running elsewhere needs after this reader may be gone.
    struct Link
    {
        std::mutex mutex;
        FolderReader *reader = nullptr;
    };

    void deliver(const std::shared_ptr<Read> &read, const std::shared_ptr<const Folder> &folder);

    FileSystem &m_files;
    InterfaceThread &m_thread;
    std::shared_ptr<Link> m_link;
    // The reads under way, by the path asked for.
    std::map<std::string, std::weak_ptr<Read>> m_running;
};

} // namespace kelvane

#include "support/fakes.h"

#include <algorithm>

namespace kelvane::testing {

namespace {

std::string lowered(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

} // namespace

void PrintTo(const ShownMessage &message, std::ostream *out)
{
    const char *icons[] = {"None", "Critical", "Information"};
    *out << icons[static_cast<int>(message.icon)] << " \"" << message.title << "\": \""
         << message.text << '"';
}

void FakeFileSystem::addDirectory(const std::string &path)
{
    std::optional<std::string> at = dos::normalize(path);
    while (at) {
        m_dirs.insert(lowered(*at));
        m_realName.emplace(lowered(*at), *at);
        at = dos::parent(*at);
    }
}

void FakeFileSystem::addFile(const std::string &path)
{
    const std::string norm = dos::normalize(path);
    if (auto up = dos::parent(norm))
        addDirectory(*up);
    m_files.insert(norm);
}

std::vector<DriveEntry> FakeFileSystem::drives()
{
    std::vector<DriveEntry> out;
    for (const auto &[letter, readable] : m_drives)
        out.push_back({letter, std::string(1, static_cast<char>(letter - 'A' + 'a')) + ": [fake]"});
    return out;
}

bool FakeFileSystem::readable(std::string_view dosPath)
{
    const auto drive = dos::driveOf(dosPath);
    return drive && m_drives.contains(*drive) && m_drives[*drive];
}

bool FakeFileSystem::directoryExists(std::string_view dosPath)
{
    return readable(dosPath) && m_dirs.contains(lowered(dos::normalize(dosPath)));
}

bool FakeFileSystem::fileExists(std::string_view dosPath)
{
    const std::string wanted = lowered(dos::normalize(dosPath));
    return readable(dosPath) && std::any_of(m_files.begin(), m_files.end(), [&](const auto &file) {
               return lowered(file) == wanted;
           });
}

Outcome FakeFileSystem::canRead(std::string_view dosPath)
{
    if (!readable(dosPath))
        return Failure{"Auf das Laufwerk " + std::string(1, dos::driveOf(dosPath).value_or('?')) +
                       ": kann nicht zugegriffen werden."};
    if (!m_dirs.contains(lowered(dos::normalize(dosPath))))
        return Failure{"Das Verzeichnis \"" + std::string(dosPath) +
                       "\" kann nicht gelesen werden."};
    return std::nullopt;
}

FolderContents FakeFileSystem::contents(std::string_view dosPath)
{
    if (Outcome failed = canRead(dosPath))
        return {{}, {}, std::move(failed)};
    return {children(dosPath, m_dirs), children(dosPath, m_files), std::nullopt};
}

std::vector<std::string> FakeFileSystem::children(std::string_view dosPath,
                                                  const std::set<std::string> &from)
{
    const std::string dir = lowered(dos::normalize(dosPath));
    std::vector<std::string> out;
    for (const auto &entry : from) {
        const auto up = dos::parent(entry);
        if (up && lowered(*up) == dir && lowered(entry) != dir) {
            const auto real = m_realName.find(entry);
            out.push_back(dos::lastComponent(real == m_realName.end() ? entry : real->second));
        }
    }
    return out;
}

void FakeFileSystem::readInBackground(std::string dosPath,
                                      std::shared_ptr<const std::atomic_bool> cancelled,
                                      std::function<void(FolderContents)> done)
{
    ++readsStarted;
    HeldRead read{std::move(dosPath), std::move(cancelled), std::move(done)};
    if (holdReads)
        m_held.push_back(std::move(read));
    else
        finish(std::move(read));
}

void FakeFileSystem::finish(HeldRead read)
{
    if (*read.cancelled) {
        ++readsCancelled;
        read.done({});
        return;
    }
    read.done(contents(read.path));
}

void FakeFileSystem::finishReads(bool newestFirst)
{
    while (!m_held.empty()) {
        const auto next = newestFirst ? m_held.end() - 1 : m_held.begin();
        HeldRead read = std::move(*next);
        m_held.erase(next);
        finish(std::move(read));
    }
}

std::string TestApp::written(const std::string &windowKey)
{
    std::string out;
    const auto calls = backend.calls(); // reading adds calls
    for (const auto &call : calls) {
        if (call.operation != "set")
            continue;
        const std::string name = call.path.substr(call.path.rfind('\\') + 1);
        out += (out.empty() ? "" : "|") + name + "=" + read(windowKey, name);
    }
    return out;
}

} // namespace kelvane::testing

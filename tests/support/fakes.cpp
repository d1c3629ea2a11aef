#include "support/fakes.h"

#include "util/dos_path.h"

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

std::vector<std::string> FakeMessages::texts() const
{
    std::vector<std::string> out;
    for (const auto &m : shown)
        out.push_back(m.text);
    return out;
}

FakeFileSystem::FakeFileSystem()
{
    addDrive('C');
}

void FakeFileSystem::addDrive(char letter, bool readable)
{
    m_drives[letter] = readable;
    addDirectory(std::string(1, letter) + ":\\");
}

void FakeFileSystem::removeDrive(char letter)
{
    m_drives.erase(letter);
}

void FakeFileSystem::setReadable(char letter, bool readable)
{
    m_drives[letter] = readable;
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
    m_files.insert(lowered(norm));
    m_realName.emplace(lowered(norm), norm);
}

void FakeFileSystem::setCurrent(const std::string &directory)
{
    addDirectory(directory);
    m_current = dos::normalize(directory);
}

std::vector<DriveEntry> FakeFileSystem::drives()
{
    std::vector<DriveEntry> out;
    for (const auto &[letter, readable] : m_drives)
        out.push_back({letter, std::string(1, static_cast<char>(letter - 'A' + 'a')) + ": [fake]"});
    return out;
}

std::string FakeFileSystem::currentDirectory(char driveLetter)
{
    if (dos::driveOf(m_current) == driveLetter)
        return m_current;
    return std::string(1, driveLetter) + ":\\";
}

char FakeFileSystem::currentDrive()
{
    return *dos::driveOf(m_current);
}

bool FakeFileSystem::directoryExists(std::string_view dosPath)
{
    const auto drive = dos::driveOf(dosPath);
    return drive && m_drives.contains(*drive) && m_drives[*drive]
           && m_dirs.contains(lowered(dos::normalize(dosPath)));
}

bool FakeFileSystem::fileExists(std::string_view dosPath)
{
    const auto drive = dos::driveOf(dosPath);
    return drive && m_drives.contains(*drive) && m_drives[*drive]
           && m_files.contains(lowered(dos::normalize(dosPath)));
}

Listing<std::string> FakeFileSystem::children(std::string_view dosPath,
                                              const std::set<std::string> &from)
{
    ++listings;
    const auto drive = dos::driveOf(dosPath);
    if (!drive || !m_drives.contains(*drive) || !m_drives[*drive])
        return {{}, Failure{"Auf das Laufwerk " + std::string(1, drive.value_or('?'))
                            + ": kann nicht zugegriffen werden."}};
    const std::string dir = lowered(dos::normalize(dosPath));
    if (!m_dirs.contains(dir))
        return {{}, Failure{"Das Verzeichnis \"" + std::string(dosPath)
                            + "\" kann nicht gelesen werden."}};
    Listing<std::string> out;
    for (const auto &entry : from) {
        const auto up = dos::parent(entry);
        if (up && lowered(*up) == dir && entry != dir)
            out.entries.push_back(dos::lastComponent(m_realName[entry]));
    }
    return out;
}

Listing<std::string> FakeFileSystem::subdirectories(std::string_view dosPath)
{
    return children(dosPath, m_dirs);
}

Listing<std::string> FakeFileSystem::files(std::string_view dosPath)
{
    return children(dosPath, m_files);
}

Outcome FakeOpener::openDocument(std::string_view dosPath)
{
    opened.emplace_back(dosPath);
    return failure;
}

Outcome FakeOpener::openUrl(std::string_view url)
{
    opened.emplace_back(url);
    return failure;
}

Outcome FakeWriter::writeFile(std::string_view dosPath, std::string_view bytes)
{
    if (failure)
        return failure;
    if (const auto up = dos::parent(dosPath)) {
        if (const auto found = failingDirectories.find(*up); found != failingDirectories.end())
            return found->second;
    }
    written[std::string(dosPath)] = std::string(bytes);
    return std::nullopt;
}

Outcome FakeLauncher::startScript(std::string_view dosPath)
{
    if (failure)
        return failure;
    started.emplace_back(dosPath);
    return std::nullopt;
}

Outcome FakeLauncher::startProgram(std::string_view dosPath)
{
    if (failure)
        return failure;
    started.emplace_back(dosPath);
    return std::nullopt;
}

void FakeHost::showWindow(Window &window)
{
    visible.insert(window.id());
    events.push_back("show " + std::string(windowName(window.id())));
}

void FakeHost::hideWindow(Window &window)
{
    visible.erase(window.id());
    events.push_back("hide " + std::string(windowName(window.id())));
}

void FakeHost::closeWindow(Window &window)
{
    visible.erase(window.id());
    events.push_back("close " + std::string(windowName(window.id())));
}

void TestApp::stored(const std::string &windowKey, const std::string &name,
                     const std::string &text)
{
    backend.putRaw(windowKeyPath(windowKey), name, RegType::String, text);
}

std::string TestApp::read(const std::string &windowKey, const std::string &name)
{
    return registry.ReadValue(kCurrentUser, windowKeyPath(windowKey), name);
}

bool TestApp::keyExists(const std::string &windowKey)
{
    return registry.KeyExists(kCurrentUser, windowKeyPath(windowKey));
}

} // namespace kelvane::testing

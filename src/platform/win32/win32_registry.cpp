#include "platform/win32/win32_registry.h"

#include "platform/win32/win32_text.h"

#include <iterator>
#include <limits>
#include <utility>

namespace kelvane {

namespace {

// Root indexes are 16-bit; only the non-negative ones name predefined keys.
constexpr RegKey kLastRoot = kRootBase + 0x7FFF;
// Our own handles stay below every handle a root index could produce.
constexpr RegKey kLastOwnHandle = kRootBase - 0x8001;

bool isString(DWORD type)
{
    return type == RegType::String || type == RegType::ExpandString || type == RegType::MultiString;
}

// A key or value name as the A functions take it. A zero inside would cut it short, so such a
// name names nothing.
std::optional<std::string> ansiName(std::string_view name)
{
    if (name.find('\0') != std::string_view::npos)
        return std::nullopt;
    return win32::toCodePage(name, CP_ACP);
}

} // namespace

Win32RegistryBackend::~Win32RegistryBackend()
{
    for (const auto &[handle, open] : m_open)
        ::RegCloseKey(open.key);
}

HKEY Win32RegistryBackend::predefinedKey(RegKey root)
{
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

HKEY Win32RegistryBackend::systemKey(RegKey key) const
{
    if (const auto it = m_open.find(key); it != m_open.end())
        return it->second.key;
    if (key >= kRootBase && key <= kLastRoot)
        return predefinedKey(key);
    return nullptr;
}

std::string Win32RegistryBackend::pathOf(RegKey key) const
{
    if (const auto it = m_open.find(key); it != m_open.end())
        return it->second.path;
    return std::string(rootName(key));
}

RegKey Win32RegistryBackend::issue(HKEY key, std::string path)
{
    while (m_open.contains(m_nextHandle) || m_nextHandle == kInvalidKey)
        m_nextHandle = m_nextHandle >= kLastOwnHandle ? 1 : m_nextHandle + 1;
    const RegKey handle = m_nextHandle;
    m_open.emplace(handle, OpenKey{key, std::move(path)});
    m_nextHandle = m_nextHandle >= kLastOwnHandle ? 1 : m_nextHandle + 1;
    return handle;
}

RegKey Win32RegistryBackend::openKey(RegKey parent, std::string_view subKey, std::uint32_t access)
{
    const HKEY parentKey = systemKey(parent);
    const std::optional<std::string> name = ansiName(subKey);
    if (!parentKey || !name)
        return kInvalidKey;
    HKEY key = nullptr;
    if (const LSTATUS status = ::RegOpenKeyExA(parentKey, name->c_str(), 0, access, &key);
        status != ERROR_SUCCESS) {
        // A key opened to write values into or to make a key below, which exists (one that
        // could not be made was told of then) and still cannot be opened: nothing is saved.
        const bool writing = access == RegAccess::SetValue || access == RegAccess::CreateSubKey;
        if (writing && status != ERROR_FILE_NOT_FOUND)
            writeFailed(SettingsProblem::Kind::SaveFailed, joinKeyPath(pathOf(parent), subKey),
                        win32::errorText(static_cast<DWORD>(status)));
        return kInvalidKey;
    }
    return issue(key, joinKeyPath(pathOf(parent), subKey));
}

RegKey Win32RegistryBackend::createKey(RegKey parent, std::string_view subKey, std::uint32_t access)
{
    const HKEY parentKey = systemKey(parent);
    const std::optional<std::string> name = ansiName(subKey);
    std::string path = joinKeyPath(pathOf(parent), subKey);
    if (!parentKey)
        return kInvalidKey;
    if (!name) {
        writeFailed(SettingsProblem::Kind::Unstorable, std::move(path),
                    "Der Name enthält Zeichen, die die Registrierung hier nicht speichern kann.");
        return kInvalidKey;
    }
    char emptyClass[] = "";
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (const LSTATUS status =
            ::RegCreateKeyExA(parentKey, name->c_str(), 0, emptyClass, REG_OPTION_NON_VOLATILE,
                              access, nullptr, &key, &disposition);
        status != ERROR_SUCCESS) {
        // A key that is there already, but not to be opened with every right, may still take
        // values; whether it does is told when they are written.
        HKEY existing = nullptr;
        const bool exists = status == ERROR_ACCESS_DENIED &&
                            ::RegOpenKeyExA(parentKey, name->c_str(), 0, KEY_QUERY_VALUE,
                                            &existing) != ERROR_FILE_NOT_FOUND;
        if (existing)
            ::RegCloseKey(existing);
        if (!exists)
            writeFailed(SettingsProblem::Kind::SaveFailed, std::move(path),
                        win32::errorText(static_cast<DWORD>(status)));
        return kInvalidKey;
    }
    return issue(key, std::move(path));
}

std::optional<std::pair<DWORD, std::string>>
Win32RegistryBackend::readWhole(HKEY key, const std::string &name)
{
    // Another program may change the value between asking for its size and reading it.
    for (int attempt = 0; attempt < 8; ++attempt) {
        DWORD type = 0;
        DWORD size = 0;
        if (::RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return std::nullopt;
        std::string bytes(static_cast<std::size_t>(size) + 1, '\0');
        DWORD count = size;
        const LONG result = ::RegQueryValueExA(key, name.c_str(), nullptr, &type,
                                               reinterpret_cast<BYTE *>(bytes.data()), &count);
        if (result == ERROR_MORE_DATA)
            continue;
        if (result != ERROR_SUCCESS)
            return std::nullopt;
        bytes.resize(count);
        return std::pair{type, std::move(bytes)};
    }
    return std::nullopt;
}

std::optional<RegValueInfo> Win32RegistryBackend::queryValueInfo(RegKey key, std::string_view name)
{
    const HKEY systemHandle = systemKey(key);
    const std::optional<std::string> valueName = ansiName(name);
    if (!systemHandle || !valueName)
        return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(systemHandle, valueName->c_str(), nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    if (!isString(type))
        return RegValueInfo{type, size};

    // The size of a string counts the bytes it takes in UTF-8, which only the text itself tells.
    const auto whole = readWhole(systemHandle, *valueName);
    if (!whole)
        return std::nullopt;
    return RegValueInfo{whole->first, win32::fromCodePage(whole->second, CP_ACP).size()};
}

std::optional<std::string> Win32RegistryBackend::queryValueData(RegKey key, std::string_view name,
                                                                std::size_t bufferSize)
{
    const HKEY systemHandle = systemKey(key);
    const std::optional<std::string> valueName = ansiName(name);
    if (!systemHandle || !valueName || bufferSize > std::numeric_limits<DWORD>::max())
        return std::nullopt;

    // A UTF-8 text never has fewer bytes than the same text in the ANSI code page, so a buffer
    // of the size the core asks for holds the registry's bytes whenever the text fits.
    std::string bytes(bufferSize, '\0');
    BYTE none = 0;
    DWORD type = 0;
    DWORD count = static_cast<DWORD>(bufferSize);
    if (::RegQueryValueExA(systemHandle, valueName->c_str(), nullptr, &type,
                           bufferSize ? reinterpret_cast<BYTE *>(bytes.data()) : &none,
                           &count) != ERROR_SUCCESS)
        return std::nullopt;
    bytes.resize(count);
    if (!isString(type))
        return bytes;
    std::string text = win32::fromCodePage(bytes, CP_ACP);
    if (text.size() > bufferSize)
        return std::nullopt;
    return text;
}

bool Win32RegistryBackend::setValue(RegKey key, std::string_view name, std::uint32_t type,
                                    std::string_view data)
{
    const HKEY systemHandle = systemKey(key);
    if (!systemHandle)
        return false;
    const std::optional<std::string> valueName = ansiName(name);
    std::optional<std::string> bytes =
        isString(type) ? win32::toCodePage(data, CP_ACP) : std::optional(std::string(data));
    if (!valueName || !bytes || bytes->size() >= std::numeric_limits<DWORD>::max()) {
        writeFailed(SettingsProblem::Kind::Unstorable, pathOf(key),
                    "Der Wert \"" + std::string(name) +
                        "\" enthält Zeichen, die die Registrierung hier nicht "
                        "speichern kann.");
        return false;
    }
    const DWORD count = static_cast<DWORD>(bytes->size());
    // The registry adds a terminating zero to a string whose last character is not one when a
    // zero byte follows the data in memory. The stored byte count is to be the text's length, so
    // the byte after the data is never zero.
    bytes->push_back('\xFF');
    if (const LSTATUS status =
            ::RegSetValueExA(systemHandle, valueName->c_str(), 0, type,
                             reinterpret_cast<const BYTE *>(bytes->data()), count);
        status != ERROR_SUCCESS) {
        writeFailed(SettingsProblem::Kind::SaveFailed, pathOf(key),
                    win32::errorText(static_cast<DWORD>(status)));
        return false;
    }
    return true;
}

void Win32RegistryBackend::closeKey(RegKey key)
{
    const auto it = m_open.find(key);
    if (it == m_open.end())
        return;
    ::RegCloseKey(it->second.key);
    m_open.erase(it);
}

void Win32RegistryBackend::beginBatch()
{
    ++m_batchDepth;
}

void Win32RegistryBackend::endBatch()
{
    if (m_batchDepth > 0 && --m_batchDepth == 0)
        m_toldInBatch = false;
}

std::vector<SettingsProblem> Win32RegistryBackend::takeProblems()
{
    // A window's save is told of once it is over, as the settings file does.
    if (m_batchDepth > 0)
        return {};
    return std::exchange(m_problems, {});
}

void Win32RegistryBackend::writeFailed(SettingsProblem::Kind kind, std::string path,
                                       std::string reason)
{
    // One window's save is told of once, however many of its values failed.
    if (m_toldInBatch)
        return;
    m_toldInBatch = m_batchDepth > 0;
    m_problems.push_back({kind, std::move(path), {}, std::move(reason)});
}

} // namespace kelvane

#include "settings/registry.h"

#include <cstring>

namespace kelvane {

namespace {

// Closes a key on every path out of an operation.
class OpenKey
{
public:
    OpenKey(RegistryBackend &backend, RegKey key)
        : m_backend(backend)
        , m_key(key)
    {}
    ~OpenKey()
    {
        if (m_key != kInvalidKey)
            m_backend.closeKey(m_key);
    }
    OpenKey(const OpenKey &) = delete;
    OpenKey &operator=(const OpenKey &) = delete;

    explicit operator bool() const { return m_key != kInvalidKey; }
    RegKey get() const { return m_key; }

private:
    RegistryBackend &m_backend;
    RegKey m_key;
};

std::string hexBytes(std::string_view data)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(data.size() * 3);
    for (unsigned char byte : data) {
        text += digits[byte >> 4];
        text += digits[byte & 0xF];
        text += ' ';
    }
    return text;
}

} // namespace

std::string windowKeyPath(std::string_view windowKey)
{
    std::string path(kSettingsPath);
    path += '\\';
    path += windowKey;
    return path;
}

RegKey Registry::rootKey(std::int16_t root)
{
    return kRootBase + static_cast<std::uint32_t>(static_cast<std::int32_t>(root));
}

bool Registry::KeyExists(std::int16_t root, std::string_view keyPath) const
{
    OpenKey key(m_backend, m_backend.openKey(rootKey(root), keyPath, RegAccess::AllAccess));
    return static_cast<bool>(key);
}

std::string Registry::ReadValue(std::int16_t root, std::string_view keyPath,
                                std::string_view valueName) const
{
    OpenKey key(m_backend, m_backend.openKey(rootKey(root), keyPath, RegAccess::AllAccess));
    if (!key)
        return {};
    const auto info = m_backend.queryValueInfo(key.get(), valueName);
    if (!info)
        return {};

    switch (info->type) {
    case RegType::String:
    case RegType::ExpandString:
    case RegType::MultiString: {
        // The buffer has room for one more zero byte than the data, so that data stored
        // without a terminating zero still end in one.
        const auto data = m_backend.queryValueData(key.get(), valueName, info->size + 1);
        if (!data)
            return {};
        std::string text(data->data(), std::min(data->size(), info->size));
        return SplitOff(text, std::string_view("\0", 1));
    }
    case RegType::Dword: {
        const auto data = m_backend.queryValueData(key.get(), valueName, 4);
        if (!data)
            return {};
        unsigned char bytes[4] = {0, 0, 0, 0};
        std::memcpy(bytes, data->data(), std::min<std::size_t>(data->size(), 4));
        const std::uint32_t raw = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) |
                                  (static_cast<std::uint32_t>(bytes[3]) << 24);
        return std::to_string(static_cast<std::int32_t>(raw));
    }
    case RegType::Binary: {
        const auto data = m_backend.queryValueData(key.get(), valueName, info->size);
        if (!data)
            return {};
        return hexBytes(*data);
    }
    default:
        return {};
    }
}

void Registry::SaveString(std::int16_t root, std::string_view keyPath, std::string_view valueName,
                          std::string_view text)
{
    CreateKeyPath(root, keyPath);
    WriteValue(root, keyPath, valueName, RegType::String, text, text.size());
}

void Registry::WriteValue(std::int16_t root, std::string_view keyPath, std::string_view valueName,
                          std::uint32_t type, std::string_view data, std::size_t byteCount)
{
    OpenKey key(m_backend, m_backend.openKey(rootKey(root), keyPath, RegAccess::SetValue));
    if (!key)
        return;
    m_backend.setValue(key.get(), valueName, type, data.substr(0, byteCount));
}

void Registry::CreateKeyPath(std::int16_t root, std::string_view keyPath)
{
    std::string remaining(keyPath);
    std::string built;
    while (remaining.find('\\') != std::string::npos) {
        const std::string component = SplitOff(remaining, "\\");
        CreateSubKey(root, built, component);
        if (!built.empty())
            built += '\\';
        built += component;
    }
    CreateSubKey(root, built, remaining);
}

void Registry::CreateSubKey(std::int16_t root, std::string_view parentPath,
                            std::string_view subKeyName)
{
    OpenKey parent(m_backend,
                   m_backend.openKey(rootKey(root), parentPath, RegAccess::CreateSubKey));
    if (!parent)
        return;
    OpenKey child(m_backend, m_backend.createKey(parent.get(), subKeyName, RegAccess::AllAccess));
}

std::string Registry::SplitOff(std::string &text, std::string_view separator)
{
    const auto at = separator.empty() ? std::string::npos : text.find(separator);
    if (at == std::string::npos) {
        std::string whole = std::move(text);
        text.clear();
        return whole;
    }
    std::string before = text.substr(0, at);
    text.erase(0, at + separator.size());
    return before;
}

} // namespace kelvane

#pragma once

#include "settings/registry_backend.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvane {

// The settings store: a handful of operations that test for a key, read one value as text and
// store one text value, creating the keys along the way. Silent by design: whatever fails reads
// as the empty text or writes nothing.
class Registry
{
public:
    explicit Registry(RegistryBackend &backend)
        : m_backend(backend)
    {}

    bool KeyExists(std::int16_t root, std::string_view keyPath) const;
    std::string ReadValue(std::int16_t root, std::string_view keyPath,
                          std::string_view valueName) const;
    void SaveString(std::int16_t root, std::string_view keyPath, std::string_view valueName,
                    std::string_view text);
    void WriteValue(std::int16_t root, std::string_view keyPath, std::string_view valueName,
                    std::uint32_t type, std::string_view data, std::size_t byteCount);
    void CreateKeyPath(std::int16_t root, std::string_view keyPath);
    void CreateSubKey(std::int16_t root, std::string_view parentPath, std::string_view subKeyName);

    // Returns the part of `text` before the first `separator` and removes it and the separator
    // from `text`; without a separator returns all of `text` and leaves it empty.
    static std::string SplitOff(std::string &text, std::string_view separator);

    // Groups the writes of one save routine, so that a backend can make them durable at once.
    class Batch
    {
    public:
        explicit Batch(Registry &registry)
            : m_backend(registry.m_backend)
        {
            m_backend.beginBatch();
        }
        ~Batch() { m_backend.endBatch(); }
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        RegistryBackend &m_backend;
    };

private:
    static RegKey rootKey(std::int16_t root);

    RegistryBackend &m_backend;
};

// The window keys all live below this path in the current user's root.
inline constexpr std::string_view kSettingsPath = "Software\\Ostrabel\\Kelvane";
inline constexpr std::int16_t kCurrentUser = 1;

std::string windowKeyPath(std::string_view windowKey);

} // namespace kelvane

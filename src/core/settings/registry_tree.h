#pragma once

#include "settings/registry_backend.h"
#include "util/dos_path.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

struct StoredValue
{
    std::string name;
    std::uint32_t type = RegType::String;
    std::string data;
};

// One key of a registry held in memory: its sub-keys and values in the order they were made.
// Names are looked up without regard to ASCII case and kept as first written.
struct RegNode
{
    std::string name;
    std::vector<std::unique_ptr<RegNode>> children;
    std::vector<StoredValue> values;

    RegNode *child(std::string_view childName) const;
    RegNode &childOrNew(std::string_view childName);
    const StoredValue *value(std::string_view valueName) const;
    void setValue(std::string_view valueName, std::uint32_t type, std::string_view data);
    // Follows a backslash-separated path; nullptr when a key on the way is missing.
    RegNode *find(std::string_view path);
    RegNode &findOrCreate(std::string_view path);
};

using dos::equalNoCase;

// Serves the backend primitives from a tree in memory, one tree per root. Handles name a key by
// its path, so a subclass may replace the tree (after reading a file again) without
// invalidating the keys that are open.
class TreeRegistryBackend : public RegistryBackend
{
public:
    RegKey openKey(RegKey parent, std::string_view subKey, std::uint32_t access) override;
    RegKey createKey(RegKey parent, std::string_view subKey, std::uint32_t access) override;
    std::optional<RegValueInfo> queryValueInfo(RegKey key, std::string_view name) override;
    std::optional<std::string> queryValueData(RegKey key, std::string_view name,
                                              std::size_t bufferSize) override;
    bool setValue(RegKey key, std::string_view name, std::uint32_t type,
                  std::string_view data) override;
    void closeKey(RegKey key) override;

    // Keys that are open right now; a correct caller leaves none behind.
    std::size_t openKeyCount() const { return m_open.size(); }

protected:
    // Whether the root with this handle is kept here at all.
    virtual bool holdsRoot(RegKey root) const { return root > kRootBase && root <= kRootBase + 6; }
    // Called before every read or lookup, so that a subclass can pick up outside changes.
    virtual void refresh() {}
    // Called after the tree was changed by createKey or setValue.
    virtual void changed(RegKey root, std::string_view path, const StoredValue *value)
    {
        (void)root;
        (void)path;
        (void)value;
    }

    RegNode &rootNode(RegKey root);
    std::map<RegKey, RegNode> &roots() { return m_roots; }

private:
    struct Handle
    {
        RegKey root;
        std::string path;
        std::uint32_t access;
    };

    const Handle *handle(RegKey key) const;
    RegNode *node(const Handle &handle);
    RegKey issue(RegKey root, std::string path, std::uint32_t access);

    std::map<RegKey, RegNode> m_roots;
    std::map<RegKey, Handle> m_open;
    RegKey m_nextHandle = 1;
};

// The backend for tests: everything in memory, every root available.
class MemoryRegistryBackend : public TreeRegistryBackend
{
public:
    struct Call
    {
        std::string operation; // "open", "create", "query", "set"
        std::string path;      // full path of the key the call is about
        std::uint32_t access = 0;
    };

    const std::vector<Call> &calls() const { return m_calls; }
    void clearCalls() { m_calls.clear(); }
    int batchesEnded() const { return m_batchesEnded; }

    RegKey openKey(RegKey parent, std::string_view subKey, std::uint32_t access) override;
    RegKey createKey(RegKey parent, std::string_view subKey, std::uint32_t access) override;
    bool setValue(RegKey key, std::string_view name, std::uint32_t type,
                  std::string_view data) override;
    void beginBatch() override { ++m_batchDepth; }
    void endBatch() override
    {
        if (--m_batchDepth == 0)
            ++m_batchesEnded;
    }

    // Writes a value as another program would, creating its key.
    void putRaw(std::string_view keyPath, std::string_view name, std::uint32_t type,
                std::string_view data, RegKey root = kCurrentUserRoot);
    bool hasKey(std::string_view keyPath, RegKey root = kCurrentUserRoot);

private:
    std::string pathOf(RegKey key, std::string_view subKey) const;

    std::vector<Call> m_calls;
    std::map<RegKey, std::string> m_paths;
    int m_batchDepth = 0;
    int m_batchesEnded = 0;
};

} // namespace kelvane

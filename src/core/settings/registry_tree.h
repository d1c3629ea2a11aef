#pragma once

#include "settings/registry_backend.h"
#include "util/dos_path.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kelvane {

struct StoredValue
{
    std::string name;
    std::uint32_t type = RegType::String;
    std::string data;
};

// The registry's own limits, kept by every key this program makes or reads: a key path below
// its root has at most kMaxKeyDepth names, and a name has at most this many characters (counted
// as the registry counts them, in UTF-16 code units).
inline constexpr std::size_t kMaxKeyDepth = 512;
inline constexpr std::size_t kMaxKeyNameLength = 255;
inline constexpr std::size_t kMaxValueNameLength = 16383;

// The length of a UTF-8 text in UTF-16 code units.
// Whether a backslash-separated key path (empty: the root itself) keeps the limits above and
// has no empty name.
bool keyPathWithinLimits(std::string_view path);

// One key of a registry held in memory: its sub-keys and values in the order they were made.
// Names are looked up without regard to ASCII case, through an index, and kept as first
// written. Taking a tree apart does not recurse, however deep it is.
class RegNode
{
public:
    RegNode() = default;
    explicit RegNode(std::string name)
        : m_name(std::move(name))
    {}
    ~RegNode();
    RegNode(RegNode &&other) noexcept;
    RegNode &operator=(RegNode &&other) noexcept;

    const std::string &name() const { return m_name; }
    const std::vector<std::unique_ptr<RegNode>> &children() const
    {
        settle();
        return m_children;
    }
    const std::vector<StoredValue> &values() const
    {
        settle();
        return m_values;
    }

    RegNode *child(std::string_view childName) const;
    RegNode &childOrNew(std::string_view childName);
    const StoredValue *value(std::string_view valueName) const;
    void setValue(std::string_view valueName, std::uint32_t type, std::string_view data);
    void removeChild(std::string_view childName);
    void removeValue(std::string_view valueName);
    // Removes every sub-key and value.
    void clear();
    // Follows a backslash-separated path; nullptr when a key on the way is missing.
    RegNode *find(std::string_view path);
    RegNode &findOrCreate(std::string_view path);

private:
    // Removing takes an entry out of the index only; the entries no index names are dropped
    // all at once before the lists are next looked at, or when they make up half of a list, so
    // that a file of many removals still reads in linear time.
    void settle() const;

    std::string m_name;
    mutable std::vector<std::unique_ptr<RegNode>> m_children;
    mutable std::vector<StoredValue> m_values;
    // Position in m_children and m_values by the name in lower case.
    mutable std::unordered_map<std::string, std::size_t> m_childAt;
    mutable std::unordered_map<std::string, std::size_t> m_valueAt;
    mutable std::size_t m_removedChildren = 0;
    mutable std::size_t m_removedValues = 0;
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
    // What an operation is about to do with the tree.
    enum class Use { Read, Write };
    // Called before every read or lookup, so that a subclass can pick up outside changes.
    virtual void refresh(Use use) { (void)use; }
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

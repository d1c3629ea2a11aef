#include "settings/registry_tree.h"

#include "util/codepage.h"
#include "util/dos_path.h"

#include <algorithm>
#include <utility>

namespace kelvane {

namespace {

// A key name may not be empty or hold a backslash; a path may not start or end with one.
bool validPath(std::string_view path)
{
    if (path.empty())
        return true;
    if (path.front() == '\\' || path.back() == '\\')
        return false;
    return path.find("\\\\") == std::string_view::npos;
}

} // namespace

bool keyPathWithinLimits(std::string_view path)
{
    if (path.empty())
        return true;
    std::size_t depth = 0;
    while (true) {
        const auto cut = path.find('\\');
        const std::string_view name = path.substr(0, cut);
        if (name.empty() || ++depth > kMaxKeyDepth ||
            codepage::utf16Length(name) > kMaxKeyNameLength)
            return false;
        if (cut == std::string_view::npos)
            return true;
        path.remove_prefix(cut + 1);
    }
}

RegNode::~RegNode()
{
    clear();
}

RegNode::RegNode(RegNode &&other) noexcept
    : m_name(std::move(other.m_name))
    , m_children(std::move(other.m_children))
    , m_values(std::move(other.m_values))
    , m_childAt(std::move(other.m_childAt))
    , m_valueAt(std::move(other.m_valueAt))
    , m_removedChildren(std::exchange(other.m_removedChildren, 0))
    , m_removedValues(std::exchange(other.m_removedValues, 0))
{}

RegNode &RegNode::operator=(RegNode &&other) noexcept
{
    if (this != &other) {
        clear();
        m_name = std::move(other.m_name);
        m_children = std::move(other.m_children);
        m_values = std::move(other.m_values);
        m_childAt = std::move(other.m_childAt);
        m_valueAt = std::move(other.m_valueAt);
        m_removedChildren = std::exchange(other.m_removedChildren, 0);
        m_removedValues = std::exchange(other.m_removedValues, 0);
    }
    return *this;
}

void RegNode::clear()
{
    // Each key is taken apart only once its sub-keys have been moved out of it, so no
    // destructor recurses.
    std::vector<std::unique_ptr<RegNode>> pending = std::move(m_children);
    m_children.clear();
    m_childAt.clear();
    m_values.clear();
    m_valueAt.clear();
    m_removedChildren = 0;
    m_removedValues = 0;
    while (!pending.empty()) {
        std::unique_ptr<RegNode> node = std::move(pending.back());
        pending.pop_back();
        for (auto &child : node->m_children)
            pending.push_back(std::move(child));
        node->m_children.clear();
    }
}

RegNode *RegNode::child(std::string_view childName) const
{
    const auto it = m_childAt.find(dos::lowered(childName));
    return it == m_childAt.end() ? nullptr : m_children[it->second].get();
}

RegNode &RegNode::childOrNew(std::string_view childName)
{
    const auto [it, added] = m_childAt.try_emplace(dos::lowered(childName), m_children.size());
    if (added) {
        try {
            m_children.push_back(std::make_unique<RegNode>(std::string(childName)));
        } catch (...) {
            m_childAt.erase(it);
            throw;
        }
    }
    return *m_children[it->second];
}

const StoredValue *RegNode::value(std::string_view valueName) const
{
    const auto it = m_valueAt.find(dos::lowered(valueName));
    return it == m_valueAt.end() ? nullptr : &m_values[it->second];
}

void RegNode::setValue(std::string_view valueName, std::uint32_t type, std::string_view data)
{
    const auto [it, added] = m_valueAt.try_emplace(dos::lowered(valueName), m_values.size());
    if (!added) {
        StoredValue &v = m_values[it->second];
        v.type = type;
        v.data = std::string(data);
        return;
    }
    try {
        m_values.push_back({std::string(valueName), type, std::string(data)});
    } catch (...) {
        m_valueAt.erase(it);
        throw;
    }
}

namespace {

// Keeps the entries that the index still names, in their order, and renumbers them.
template <typename Entries, typename NameOf>
void dropRemoved(Entries &entries, std::unordered_map<std::string, std::size_t> &index,
                 std::size_t &removed, NameOf nameOf)
{
    if (removed == 0)
        return;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto it = index.find(dos::lowered(nameOf(entries[i])));
        if (it == index.end() || it->second != i)
            continue;
        it->second = kept;
        if (kept != i)
            entries[kept] = std::move(entries[i]);
        ++kept;
    }
    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(kept), entries.end());
    removed = 0;
}

} // namespace

void RegNode::settle() const
{
    dropRemoved(
        m_children, m_childAt, m_removedChildren,
        [](const std::unique_ptr<RegNode> &child) -> const std::string & { return child->m_name; });
    dropRemoved(m_values, m_valueAt, m_removedValues,
                [](const StoredValue &value) -> const std::string & { return value.name; });
}

void RegNode::removeChild(std::string_view childName)
{
    const auto it = m_childAt.find(dos::lowered(childName));
    if (it == m_childAt.end())
        return;
    const std::size_t at = it->second;
    m_childAt.erase(it);
    // Its sub-keys go now, without recursion; the emptied key itself goes with the next settle.
    m_children[at]->clear();
    if (at + 1 == m_children.size())
        m_children.pop_back();
    else if (++m_removedChildren > m_children.size() / 2)
        settle();
}

void RegNode::removeValue(std::string_view valueName)
{
    const auto it = m_valueAt.find(dos::lowered(valueName));
    if (it == m_valueAt.end())
        return;
    const std::size_t at = it->second;
    m_valueAt.erase(it);
    if (at + 1 == m_values.size())
        m_values.pop_back();
    else if (++m_removedValues > m_values.size() / 2)
        settle();
}

RegNode *RegNode::find(std::string_view path)
{
    RegNode *at = this;
    while (at && !path.empty()) {
        const auto cut = path.find('\\');
        at = at->child(path.substr(0, cut));
        path = cut == std::string_view::npos ? std::string_view() : path.substr(cut + 1);
    }
    return at;
}

RegNode &RegNode::findOrCreate(std::string_view path)
{
    RegNode *at = this;
    while (!path.empty()) {
        const auto cut = path.find('\\');
        at = &at->childOrNew(path.substr(0, cut));
        path = cut == std::string_view::npos ? std::string_view() : path.substr(cut + 1);
    }
    return *at;
}

RegNode &TreeRegistryBackend::rootNode(RegKey root)
{
    return m_roots[root];
}

const TreeRegistryBackend::Handle *TreeRegistryBackend::handle(RegKey key) const
{
    const auto it = m_open.find(key);
    return it == m_open.end() ? nullptr : &it->second;
}

RegNode *TreeRegistryBackend::node(const Handle &h)
{
    return rootNode(h.root).find(h.path);
}

RegKey TreeRegistryBackend::issue(RegKey root, std::string path, std::uint32_t access)
{
    const RegKey key = m_nextHandle++;
    m_open.emplace(key, Handle{root, std::move(path), access});
    return key;
}

RegKey TreeRegistryBackend::openKey(RegKey parent, std::string_view subKey, std::uint32_t access)
{
    if (!validPath(subKey))
        return kInvalidKey;
    refresh(access & ~(RegAccess::SetValue | RegAccess::CreateSubKey) ? Use::Read : Use::Write);
    RegKey root;
    std::string path;
    if (parent >= kRootBase) {
        if (!holdsRoot(parent))
            return kInvalidKey;
        root = parent;
        path = std::string(subKey);
    } else {
        const Handle *h = handle(parent);
        if (!h)
            return kInvalidKey;
        root = h->root;
        path = joinKeyPath(h->path, subKey);
    }
    if (!rootNode(root).find(path))
        return kInvalidKey;
    return issue(root, std::move(path), access);
}

RegKey TreeRegistryBackend::createKey(RegKey parent, std::string_view subKey, std::uint32_t access)
{
    if (!validPath(subKey))
        return kInvalidKey;
    refresh(Use::Write);
    RegKey root;
    std::string base;
    if (parent >= kRootBase) {
        if (!holdsRoot(parent))
            return kInvalidKey;
        root = parent;
    } else {
        const Handle *h = handle(parent);
        if (!h || !(h->access & RegAccess::CreateSubKey) || !node(*h))
            return kInvalidKey;
        root = h->root;
        base = h->path;
    }
    std::string path = joinKeyPath(base, subKey);
    if (!keyPathWithinLimits(path))
        return kInvalidKey;
    RegNode &root_ = rootNode(root);
    if (!root_.find(path)) {
        root_.findOrCreate(path);
        changed(root, path, nullptr);
    }
    return issue(root, std::move(path), access);
}

std::optional<RegValueInfo> TreeRegistryBackend::queryValueInfo(RegKey key, std::string_view name)
{
    refresh(Use::Read);
    const Handle *h = handle(key);
    if (!h || !(h->access & RegAccess::QueryValue))
        return std::nullopt;
    const RegNode *n = node(*h);
    const StoredValue *v = n ? n->value(name) : nullptr;
    if (!v)
        return std::nullopt;
    return RegValueInfo{v->type, v->data.size()};
}

std::optional<std::string> TreeRegistryBackend::queryValueData(RegKey key, std::string_view name,
                                                               std::size_t bufferSize)
{
    refresh(Use::Read);
    const Handle *h = handle(key);
    if (!h || !(h->access & RegAccess::QueryValue))
        return std::nullopt;
    const RegNode *n = node(*h);
    const StoredValue *v = n ? n->value(name) : nullptr;
    if (!v || v->data.size() > bufferSize)
        return std::nullopt;
    return v->data;
}

bool TreeRegistryBackend::setValue(RegKey key, std::string_view name, std::uint32_t type,
                                   std::string_view data)
{
    refresh(Use::Write);
    const Handle *h = handle(key);
    if (!h || !(h->access & RegAccess::SetValue) ||
        codepage::utf16Length(name) > kMaxValueNameLength)
        return false;
    RegNode *n = node(*h);
    if (!n)
        return false;
    n->setValue(name, type, data);
    changed(h->root, h->path, n->value(name));
    return true;
}

void TreeRegistryBackend::closeKey(RegKey key)
{
    m_open.erase(key);
}

std::string MemoryRegistryBackend::pathOf(RegKey key, std::string_view subKey) const
{
    if (key >= kRootBase)
        return std::string(subKey);
    const auto it = m_paths.find(key);
    return joinKeyPath(it == m_paths.end() ? std::string("?") : it->second, subKey);
}

RegKey MemoryRegistryBackend::openKey(RegKey parent, std::string_view subKey, std::uint32_t access)
{
    const std::string path = pathOf(parent, subKey);
    m_calls.push_back({"open", path, access});
    const RegKey key = TreeRegistryBackend::openKey(parent, subKey, access);
    if (key != kInvalidKey)
        m_paths[key] = path;
    return key;
}

RegKey MemoryRegistryBackend::createKey(RegKey parent, std::string_view subKey,
                                        std::uint32_t access)
{
    const std::string path = pathOf(parent, subKey);
    m_calls.push_back({"create", path, access});
    const RegKey key = TreeRegistryBackend::createKey(parent, subKey, access);
    if (key != kInvalidKey)
        m_paths[key] = path;
    return key;
}

bool MemoryRegistryBackend::setValue(RegKey key, std::string_view name, std::uint32_t type,
                                     std::string_view data)
{
    m_calls.push_back({"set", pathOf(key, name), 0});
    return TreeRegistryBackend::setValue(key, name, type, data);
}

void MemoryRegistryBackend::putRaw(std::string_view keyPath, std::string_view name,
                                   std::uint32_t type, std::string_view data, RegKey root)
{
    rootNode(root).findOrCreate(keyPath).setValue(name, type, data);
}

bool MemoryRegistryBackend::hasKey(std::string_view keyPath, RegKey root)
{
    return rootNode(root).find(keyPath) != nullptr;
}

} // namespace kelvane

#include "settings/registry_tree.h"

#include "util/dos_path.h"

#include <algorithm>

namespace kelvane {

namespace {

std::string joinPath(std::string_view base, std::string_view sub)
{
    std::string path(base);
    if (!path.empty() && !sub.empty())
        path += '\\';
    path += sub;
    return path;
}

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

RegNode *RegNode::child(std::string_view childName) const
{
    for (const auto &c : children)
        if (equalNoCase(c->name, childName))
            return c.get();
    return nullptr;
}

RegNode &RegNode::childOrNew(std::string_view childName)
{
    if (RegNode *existing = child(childName))
        return *existing;
    auto made = std::make_unique<RegNode>();
    made->name = std::string(childName);
    children.push_back(std::move(made));
    return *children.back();
}

const StoredValue *RegNode::value(std::string_view valueName) const
{
    for (const auto &v : values)
        if (equalNoCase(v.name, valueName))
            return &v;
    return nullptr;
}

void RegNode::setValue(std::string_view valueName, std::uint32_t type, std::string_view data)
{
    for (auto &v : values) {
        if (equalNoCase(v.name, valueName)) {
            v.type = type;
            v.data = std::string(data);
            return;
        }
    }
    values.push_back({std::string(valueName), type, std::string(data)});
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
    refresh();
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
        path = joinPath(h->path, subKey);
    }
    if (!rootNode(root).find(path))
        return kInvalidKey;
    return issue(root, std::move(path), access);
}

RegKey TreeRegistryBackend::createKey(RegKey parent, std::string_view subKey, std::uint32_t access)
{
    if (!validPath(subKey))
        return kInvalidKey;
    refresh();
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
    std::string path = joinPath(base, subKey);
    RegNode &root_ = rootNode(root);
    if (!root_.find(path)) {
        root_.findOrCreate(path);
        changed(root, path, nullptr);
    }
    return issue(root, std::move(path), access);
}

std::optional<RegValueInfo> TreeRegistryBackend::queryValueInfo(RegKey key, std::string_view name)
{
    refresh();
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
    refresh();
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
    refresh();
    const Handle *h = handle(key);
    if (!h || !(h->access & RegAccess::SetValue))
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
    return joinPath(it == m_paths.end() ? std::string("?") : it->second, subKey);
}

RegKey MemoryRegistryBackend::openKey(RegKey parent, std::string_view subKey,
                                      std::uint32_t access)
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

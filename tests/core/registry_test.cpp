#include "core/registry_typed_test.h"
#include "settings/registry.h"
#include "settings/registry_tree.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

// The shared checks run on the registry in memory with keys right below "Software"; the access
// each operation asks for is enforced by the real registry, in the Windows leg's run of them.
struct MemoryHarness
{
    void putRaw(std::string_view keyPath, std::string_view name, std::uint32_t type,
                std::string_view data)
    {
        backend.putRaw(keyPath, name, type, data);
    }
    bool hasKey(std::string_view keyPath) { return backend.hasKey(keyPath); }
    std::size_t openKeyCount() const { return backend.openKeyCount(); }

    MemoryRegistryBackend backend;
    std::string base = "Software";
};

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, RegistryOperationsTest, MemoryHarness);

} // namespace
} // namespace kelvane

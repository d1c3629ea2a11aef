#include "core/registry_typed_test.h"
#include "settings/registry.h"
#include "settings/registry_tree.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

constexpr std::string_view kCsg = "Software\\Ostrabel\\Kelvane\\Csg";

// The shared checks run on the registry in memory with keys right below "Software".
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

// What only the registry in memory can tell: each operation opens its keys with its own access.
TEST(RegistryTest, EachOperationOpensItsKeysWithItsOwnAccess)
{
    MemoryRegistryBackend backend;
    Registry registry{backend};
    // The calls since the last look, as "operation path access".
    const auto calls = [&] {
        std::vector<std::string> seen;
        for (const auto &call : backend.calls())
            seen.push_back(call.operation + " " + call.path + " " + std::to_string(call.access));
        backend.clearCalls();
        return seen;
    };
    backend.putRaw("Software", "keep", RegType::String, "x");
    registry.CreateKeyPath(1, kCsg);
    const std::vector<std::string> created = calls();
    EXPECT_EQ(created.back(), "create Software\\Ostrabel\\Kelvane\\Csg 63");
    EXPECT_EQ(created[created.size() - 2], "open Software\\Ostrabel\\Kelvane 4");
    registry.SaveString(1, kCsg, "chart", "1");
    const std::vector<std::string> saved = calls();
    ASSERT_GE(saved.size(), 2u);
    EXPECT_EQ(saved[saved.size() - 2], "open Software\\Ostrabel\\Kelvane\\Csg 2");
    EXPECT_TRUE(saved.back().starts_with("set ")) << saved.back();
    registry.KeyExists(1, kCsg);
    registry.ReadValue(1, kCsg, "chart");
    EXPECT_EQ(calls(), (std::vector<std::string>{"open Software\\Ostrabel\\Kelvane\\Csg 63",
                                                 "open Software\\Ostrabel\\Kelvane\\Csg 63"}));
    // An empty component names no key.
    registry.SaveString(1, "Software\\\\Ostrabel", "x", "1");
    EXPECT_EQ(registry.ReadValue(1, "Software\\\\Ostrabel", "x"), "");
}

} // namespace
} // namespace kelvane

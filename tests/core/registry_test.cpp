#include "core/registry_typed_test.h"
#include "settings/registry.h"
#include "settings/registry_tree.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using namespace std::string_literals;

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

// What only the registry in memory can tell: the calls the operations make.
class RegistryTest : public ::testing::Test
{
protected:
    MemoryRegistryBackend backend;
    Registry registry{backend};
};

TEST_F(RegistryTest, CreateKeyPathOpensEachParentForCreatingAndCreatesTheChild)
{
    backend.putRaw("Software", "keep", RegType::String, "x");
    backend.clearCalls();
    registry.CreateKeyPath(1, kCsg);

    std::vector<std::string> seen;
    for (const auto &call : backend.calls())
        seen.push_back(call.operation + " " + call.path + " " + std::to_string(call.access));
    const std::vector<std::string> expected{
        "open  4",
        "create Software 63",
        "open Software 4",
        "create Software\\Ostrabel 63",
        "open Software\\Ostrabel 4",
        "create Software\\Ostrabel\\Kelvane 63",
        "open Software\\Ostrabel\\Kelvane 4",
        "create Software\\Ostrabel\\Kelvane\\Csg 63",
    };
    EXPECT_EQ(seen, expected);
}

TEST_F(RegistryTest, SaveStringOpensTheKeyForSettingOnly)
{
    registry.SaveString(1, kCsg, "chart", "1");
    const auto &calls = backend.calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[calls.size() - 2].operation, "open");
    EXPECT_EQ(calls[calls.size() - 2].path, kCsg);
    EXPECT_EQ(calls[calls.size() - 2].access, RegAccess::SetValue);
    EXPECT_EQ(calls.back().operation, "set");
}

TEST_F(RegistryTest, KeyExistsAndReadValueOpenWithFullAccess)
{
    registry.SaveString(1, kCsg, "chart", "1");
    backend.clearCalls();
    registry.KeyExists(1, kCsg);
    registry.ReadValue(1, kCsg, "chart");
    ASSERT_EQ(backend.calls().size(), 2u);
    for (const auto &call : backend.calls())
        EXPECT_EQ(call.access, RegAccess::AllAccess);
}

TEST_F(RegistryTest, EmptyComponentNamesNoKey)
{
    registry.SaveString(1, "Software\\\\Ostrabel", "x", "1");
    EXPECT_EQ(registry.ReadValue(1, "Software\\\\Ostrabel", "x"), "");
    EXPECT_EQ(backend.openKeyCount(), 0u);
}

struct SplitCase
{
    std::string text;
    std::string separator;
    std::string result;
    std::string rest;
};

class SplitOffTest : public ::testing::TestWithParam<SplitCase>
{};

TEST_P(SplitOffTest, CutsAtTheFirstSeparator)
{
    std::string text = GetParam().text;
    EXPECT_EQ(Registry::SplitOff(text, GetParam().separator), GetParam().result);
    EXPECT_EQ(text, GetParam().rest);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SplitOffTest,
    ::testing::Values(SplitCase{"Software\\Ostrabel\\Kelvane", "\\", "Software", "Ostrabel\\Kelvane"},
                      SplitCase{"Kelvane", "\\", "Kelvane", ""},
                      SplitCase{"\\lead", "\\", "", "lead"},
                      SplitCase{"trail\\", "\\", "trail", ""},
                      SplitCase{"", "\\", "", ""},
                      SplitCase{"a::b::c", "::", "a", "b::c"},
                      SplitCase{"ab\0cd"s, "\0"s, "ab", "cd"}));

TEST_F(RegistryTest, BatchBracketsOneGroupOfWrites)
{
    {
        Registry::Batch outer(registry);
        registry.SaveString(1, kCsg, "chart", "1");
        {
            Registry::Batch inner(registry);
            registry.SaveString(1, kCsg, "low", "0");
        }
        EXPECT_EQ(backend.batchesEnded(), 0);
    }
    EXPECT_EQ(backend.batchesEnded(), 1);
}

} // namespace
} // namespace kelvane

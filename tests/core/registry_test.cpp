#include "settings/registry.h"
#include "settings/registry_tree.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using namespace std::string_literals;

constexpr std::string_view kCsg = "Software\\Ostrabel\\Kelvane\\Csg";

class RegistryTest : public ::testing::Test
{
protected:
    MemoryRegistryBackend backend;
    Registry registry{backend};
};

TEST_F(RegistryTest, SavedTextReadsBackTheSame)
{
    for (const std::string text : {"1"s, "zhlt.wad halflife.wad"s, ""s, "Z:\\home\\me\\Maps"s,
                                   "Größe äöü ß"s}) {
        registry.SaveString(1, kCsg, "wadinclude_value", text);
        EXPECT_EQ(registry.ReadValue(1, kCsg, "wadinclude_value"), text);
    }
    EXPECT_EQ(backend.openKeyCount(), 0u);
}

TEST_F(RegistryTest, StoresStringsWithoutTerminatingZero)
{
    registry.SaveString(1, kCsg, "chart", "1");
    registry.SaveString(1, kCsg, "empty", "");
    MemoryRegistryBackend &b = backend;
    const RegKey key = b.openKey(kCurrentUserRoot, kCsg, RegAccess::QueryValue);
    ASSERT_NE(key, kInvalidKey);
    const auto chart = b.queryValueInfo(key, "chart");
    ASSERT_TRUE(chart);
    EXPECT_EQ(chart->type, RegType::String);
    EXPECT_EQ(chart->size, 1u);
    EXPECT_EQ(b.queryValueInfo(key, "empty")->size, 0u);
    b.closeKey(key);
}

TEST_F(RegistryTest, ValuesWrittenByOtherProgramsReadAsText)
{
    backend.putRaw(kCsg, "terminated", RegType::String, "abc\0"s);
    backend.putRaw(kCsg, "embedded", RegType::String, "ab\0cd\0"s);
    backend.putRaw(kCsg, "expand", RegType::ExpandString, "%HOME%\\x\0"s);
    backend.putRaw(kCsg, "multi", RegType::MultiString, "first\0second\0\0"s);
    backend.putRaw(kCsg, "minus", RegType::Dword, "\xFF\xFF\xFF\xFF"s);
    backend.putRaw(kCsg, "number", RegType::Dword, "\x39\x30\x00\x00"s);
    backend.putRaw(kCsg, "binary", RegType::Binary, "\x1A\x00\xFF"s);
    backend.putRaw(kCsg, "emptybinary", RegType::Binary, ""s);
    backend.putRaw(kCsg, "qword", 11, "\1\0\0\0\0\0\0\0"s);
    backend.putRaw(kCsg, "none", RegType::None, "x"s);

    EXPECT_EQ(registry.ReadValue(1, kCsg, "terminated"), "abc");
    EXPECT_EQ(registry.ReadValue(1, kCsg, "embedded"), "ab");
    EXPECT_EQ(registry.ReadValue(1, kCsg, "expand"), "%HOME%\\x");
    EXPECT_EQ(registry.ReadValue(1, kCsg, "multi"), "first");
    EXPECT_EQ(registry.ReadValue(1, kCsg, "minus"), "-1");
    EXPECT_EQ(registry.ReadValue(1, kCsg, "number"), "12345");
    EXPECT_EQ(registry.ReadValue(1, kCsg, "binary"), "1A 00 FF ");
    EXPECT_EQ(registry.ReadValue(1, kCsg, "emptybinary"), "");
    EXPECT_EQ(registry.ReadValue(1, kCsg, "qword"), "");
    EXPECT_EQ(registry.ReadValue(1, kCsg, "none"), "");
    EXPECT_EQ(backend.openKeyCount(), 0u);
}

TEST_F(RegistryTest, MissingKeyOrValueReadsEmpty)
{
    EXPECT_FALSE(registry.KeyExists(1, kCsg));
    EXPECT_EQ(registry.ReadValue(1, kCsg, "chart"), "");
    registry.SaveString(1, kCsg, "chart", "1");
    EXPECT_TRUE(registry.KeyExists(1, kCsg));
    EXPECT_EQ(registry.ReadValue(1, kCsg, "low"), "");
    EXPECT_EQ(registry.ReadValue(1, "Software\\Ostrabel\\Kelvane\\Bsp", "chart"), "");
    EXPECT_EQ(backend.openKeyCount(), 0u);
}

TEST_F(RegistryTest, NamesIgnoreCase)
{
    registry.SaveString(1, kCsg, "Chart", "1");
    EXPECT_EQ(registry.ReadValue(1, "software\\OSTRABEL\\kelvane\\csg", "CHART"), "1");
    registry.SaveString(1, kCsg, "chart", "0");
    EXPECT_EQ(registry.ReadValue(1, kCsg, "Chart"), "0");
}

TEST_F(RegistryTest, CreateKeyPathCreatesEveryMissingKeyAndOpensTheRest)
{
    backend.putRaw("Software", "keep", RegType::String, "x");
    backend.clearCalls();
    registry.CreateKeyPath(1, kCsg);
    EXPECT_TRUE(backend.hasKey("Software\\Ostrabel"));
    EXPECT_TRUE(backend.hasKey("Software\\Ostrabel\\Kelvane"));
    EXPECT_TRUE(backend.hasKey(kCsg));

    // Each component: the parent opened for creating sub-keys, then the child created with
    // full access.
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
    EXPECT_EQ(registry.ReadValue(1, "Software", "keep"), "x");
    EXPECT_EQ(backend.openKeyCount(), 0u);
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

TEST_F(RegistryTest, WriteValueWithoutKeyWritesNothing)
{
    registry.WriteValue(1, kCsg, "chart", RegType::String, "1", 1);
    EXPECT_FALSE(registry.KeyExists(1, kCsg));
}

TEST_F(RegistryTest, WriteValueHonoursTheByteCount)
{
    registry.CreateKeyPath(1, kCsg);
    registry.WriteValue(1, kCsg, "cut", RegType::String, "abcdef", 3);
    EXPECT_EQ(registry.ReadValue(1, kCsg, "cut"), "abc");
}

TEST_F(RegistryTest, RootsAreSeparate)
{
    registry.SaveString(1, kCsg, "chart", "1");
    EXPECT_EQ(registry.ReadValue(2, kCsg, "chart"), "");
    EXPECT_FALSE(registry.KeyExists(0, kCsg));
    EXPECT_FALSE(registry.KeyExists(-1, kCsg));
}

TEST_F(RegistryTest, BadKeyPathsFailQuietly)
{
    registry.SaveString(1, "Software\\\\Ostrabel", "x", "1");
    registry.SaveString(1, "\\Software", "x", "1");
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

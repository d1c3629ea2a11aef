#pragma once

// The settings store operations, checked the same way on every registry backend. A backend
// joins by a harness that owns the backend and names a key of its own for the test:
//
//   struct Harness {
//       SomeBackend backend;
//       std::string base;  // a key path below the current user's root that only this test uses
//       // Writes a value as another program would, creating its key.
//       void putRaw(std::string_view keyPath, std::string_view name, std::uint32_t type,
//                   std::string_view data);
//       bool hasKey(std::string_view keyPath);
//       std::size_t openKeyCount() const;
//   };
//
// and INSTANTIATE_TYPED_TEST_SUITE_P(Name, RegistryOperationsTest, Harness).

#include "settings/registry.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <string>

namespace kelvane {

template <typename Harness> class RegistryOperationsTest : public ::testing::Test
{
protected:
    std::string path(std::string_view below) const
    {
        return harness.base + "\\" + std::string(below);
    }

    Harness harness;
    Registry registry{harness.backend};
    const std::string csg = path("Ostrabel\\Kelvane\\Csg");
};

TYPED_TEST_SUITE_P(RegistryOperationsTest);

TYPED_TEST_P(RegistryOperationsTest, SavedTextReadsBackTheSame)
{
    using namespace std::string_literals;
    for (const std::string &text :
         {"1"s, "zhlt.wad halflife.wad"s, ""s, "Z:\\home\\me\\Maps"s, "Größe äöü ß"s}) {
        this->registry.SaveString(1, this->csg, "wadinclude_value", text);
        EXPECT_EQ(this->registry.ReadValue(1, this->csg, "wadinclude_value"), text);
    }
    EXPECT_EQ(this->harness.openKeyCount(), 0u);
}

TYPED_TEST_P(RegistryOperationsTest, StoresStringsWithoutTerminatingZero)
{
    this->registry.SaveString(1, this->csg, "chart", "1");
    this->registry.SaveString(1, this->csg, "empty", "");
    RegistryBackend &b = this->harness.backend;
    const RegKey key = b.openKey(kCurrentUserRoot, this->csg, RegAccess::QueryValue);
    ASSERT_NE(key, kInvalidKey);
    const auto chart = b.queryValueInfo(key, "chart");
    ASSERT_TRUE(chart);
    EXPECT_EQ(chart->type, RegType::String);
    EXPECT_EQ(chart->size, 1u);
    EXPECT_EQ(b.queryValueInfo(key, "empty")->size, 0u);
    b.closeKey(key);
}

TYPED_TEST_P(RegistryOperationsTest, ValuesWrittenByOtherProgramsReadAsText)
{
    using namespace std::string_literals;
    const struct
    {
        const char *name;
        std::uint32_t type;
        std::string data;
        const char *text;
    } values[] = {
        {"terminated", RegType::String, "abc\0"s, "abc"},
        {"embedded", RegType::String, "ab\0cd\0"s, "ab"},
        {"expand", RegType::ExpandString, "%HOME%\\x\0"s, "%HOME%\\x"},
        {"multi", RegType::MultiString, "first\0second\0\0"s, "first"},
        {"minus", RegType::Dword, "\xFF\xFF\xFF\xFF"s, "-1"},
        {"number", RegType::Dword, "\x39\x30\x00\x00"s, "12345"},
        {"binary", RegType::Binary, "\x1A\x00\xFF"s, "1A 00 FF "},
        {"emptybinary", RegType::Binary, ""s, ""},
        {"qword", 11, "\1\0\0\0\0\0\0\0"s, ""},
        {"none", RegType::None, "x"s, ""},
    };
    for (const auto &v : values)
        this->harness.putRaw(this->csg, v.name, v.type, v.data);
    for (const auto &v : values)
        EXPECT_EQ(this->registry.ReadValue(1, this->csg, v.name), v.text) << v.name;
    EXPECT_EQ(this->harness.openKeyCount(), 0u);
}

TYPED_TEST_P(RegistryOperationsTest, MissingKeyOrValueReadsEmpty)
{
    Registry &registry = this->registry;
    const std::string &csg = this->csg;
    EXPECT_FALSE(registry.KeyExists(1, csg));
    EXPECT_EQ(registry.ReadValue(1, csg, "chart"), "");
    registry.SaveString(1, csg, "chart", "1");
    EXPECT_TRUE(registry.KeyExists(1, csg));
    EXPECT_EQ(registry.ReadValue(1, csg, "low"), "");
    EXPECT_EQ(registry.ReadValue(1, this->path("Ostrabel\\Kelvane\\Bsp"), "chart"), "");
    EXPECT_EQ(this->harness.openKeyCount(), 0u);
}

TYPED_TEST_P(RegistryOperationsTest, NamesIgnoreCase)
{
    Registry &registry = this->registry;
    const std::string &csg = this->csg;
    // Every letter of the path in the other case.
    std::string otherCase = csg;
    std::transform(otherCase.begin(), otherCase.end(), otherCase.begin(), [](unsigned char c) {
        return static_cast<char>(std::islower(c) ? std::toupper(c) : std::tolower(c));
    });
    registry.SaveString(1, csg, "Chart", "1");
    EXPECT_EQ(registry.ReadValue(1, otherCase, "CHART"), "1");
    registry.SaveString(1, csg, "chart", "0");
    EXPECT_EQ(registry.ReadValue(1, csg, "Chart"), "0");
}

TYPED_TEST_P(RegistryOperationsTest, CreateKeyPathCreatesEveryMissingKeyAndKeepsTheRest)
{
    auto &h = this->harness;
    Registry &registry = this->registry;
    h.putRaw(h.base, "keep", RegType::String, "x");
    registry.CreateKeyPath(1, this->csg);
    EXPECT_TRUE(h.hasKey(this->path("Ostrabel")));
    EXPECT_TRUE(h.hasKey(this->path("Ostrabel\\Kelvane")));
    EXPECT_TRUE(h.hasKey(this->csg));
    registry.SaveString(1, this->csg, "chart", "1");
    registry.SaveString(1, this->path("Ostrabel\\Kelvane"), "note", "kept");
    registry.CreateKeyPath(1, this->csg);
    EXPECT_EQ(registry.ReadValue(1, h.base, "keep"), "x");
    EXPECT_EQ(registry.ReadValue(1, this->csg, "chart"), "1");
    EXPECT_EQ(registry.ReadValue(1, this->path("Ostrabel\\Kelvane"), "note"), "kept");
    EXPECT_EQ(h.openKeyCount(), 0u);
}

TYPED_TEST_P(RegistryOperationsTest, WriteValueWritesTheByteCountIntoAnExistingKeyOnly)
{
    this->registry.WriteValue(1, this->csg, "chart", RegType::String, "1", 1);
    EXPECT_FALSE(this->registry.KeyExists(1, this->csg));
    this->registry.CreateKeyPath(1, this->csg);
    this->registry.WriteValue(1, this->csg, "cut", RegType::String, "abcdef", 3);
    EXPECT_EQ(this->registry.ReadValue(1, this->csg, "cut"), "abc");
}

TYPED_TEST_P(RegistryOperationsTest, RootsAreSeparate)
{
    this->registry.SaveString(1, this->csg, "chart", "1");
    EXPECT_EQ(this->registry.ReadValue(2, this->csg, "chart"), "");
    EXPECT_FALSE(this->registry.KeyExists(0, this->csg));
    EXPECT_FALSE(this->registry.KeyExists(-1, this->csg));
}

TYPED_TEST_P(RegistryOperationsTest, BadKeyPathsFailQuietly)
{
    Registry &registry = this->registry;
    const std::string leading = "\\" + this->csg;
    registry.SaveString(1, leading, "x", "1");
    EXPECT_EQ(registry.ReadValue(1, leading, "x"), "");
    EXPECT_FALSE(registry.KeyExists(1, leading));
    // What an empty component means is the backend's affair; it must not leave keys open.
    registry.SaveString(1, this->harness.base + "\\\\Ostrabel", "x", "1");
    registry.ReadValue(1, this->harness.base + "\\\\Ostrabel", "x");
    EXPECT_EQ(this->harness.openKeyCount(), 0u);
}

REGISTER_TYPED_TEST_SUITE_P(RegistryOperationsTest, SavedTextReadsBackTheSame,
                            StoresStringsWithoutTerminatingZero,
                            ValuesWrittenByOtherProgramsReadAsText, MissingKeyOrValueReadsEmpty,
                            NamesIgnoreCase, CreateKeyPathCreatesEveryMissingKeyAndKeepsTheRest,
                            WriteValueWritesTheByteCountIntoAnExistingKeyOnly, RootsAreSeparate,
                            BadKeyPathsFailQuietly);

} // namespace kelvane

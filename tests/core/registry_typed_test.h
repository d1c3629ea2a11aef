#pragma once

// The settings store operations, checked the same way on every registry backend. A backend
// joins by a harness with `backend`, `base` (a key path below the current user's root that
// only this test uses), `putRaw(keyPath, name, type, data)` (writes a value as another program
// would, creating its key), `hasKey(keyPath)` and `openKeyCount()`, and
// INSTANTIATE_TYPED_TEST_SUITE_P(Name, RegistryOperationsTest, Harness).

#include "settings/registry.h"

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
    void TearDown() override { EXPECT_EQ(harness.openKeyCount(), 0u); }

    Harness harness;
    Registry registry{harness.backend};
    const std::string csg = path("Ostrabel\\Kelvane\\Csg");
};

TYPED_TEST_SUITE_P(RegistryOperationsTest);

// Strings are stored without their terminating zero; names ignore case.
TYPED_TEST_P(RegistryOperationsTest, SavedTextReadsBackTheSameInAnyCase)
{
    using namespace std::string_literals;
    Registry &registry = this->registry;
    for (const std::string &text : {""s, "Größe äöü ß"s}) {
        registry.SaveString(1, this->csg, "wadinclude_value", text);
        EXPECT_EQ(registry.ReadValue(1, this->csg, "wadinclude_value"), text);
    }
    registry.SaveString(1, this->csg, "chart", "1");
    RegistryBackend &b = this->harness.backend;
    const RegKey key = b.openKey(kCurrentUserRoot, this->csg, RegAccess::QueryValue);
    ASSERT_NE(key, kInvalidKey);
    const auto chart = b.queryValueInfo(key, "chart");
    EXPECT_TRUE(chart && chart->type == RegType::String && chart->size == 1u);
    EXPECT_EQ(b.queryValueInfo(key, "wadinclude_value")->size, std::string("Größe äöü ß").size());
    b.closeKey(key);

    const std::string otherCase = this->path("oSTRABEL\\kELVANE\\cSG");
    EXPECT_EQ(registry.ReadValue(1, otherCase, "CHART"), "1");
    registry.SaveString(1, otherCase, "Chart", "0");
    EXPECT_EQ(registry.ReadValue(1, this->csg, "chart"), "0");
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
        {"qword", 11, "\1\0\0\0\0\0\0\0"s, ""},
    };
    for (const auto &v : values)
        this->harness.putRaw(this->csg, v.name, v.type, v.data);
    for (const auto &v : values)
        EXPECT_EQ(this->registry.ReadValue(1, this->csg, v.name), v.text) << v.name;
}

// Missing keys and values, other roots and bad paths read as empty and fail quietly.
TYPED_TEST_P(RegistryOperationsTest, WhatIsNotThereReadsEmpty)
{
    Registry &registry = this->registry;
    const std::string &csg = this->csg;
    EXPECT_FALSE(registry.KeyExists(1, csg));
    EXPECT_EQ(registry.ReadValue(1, csg, "chart"), "");
    registry.SaveString(1, csg, "chart", "1");
    EXPECT_TRUE(registry.KeyExists(1, csg));
    EXPECT_EQ(registry.ReadValue(1, csg, "low"), "");
    EXPECT_EQ(registry.ReadValue(1, this->path("Ostrabel\\Kelvane\\Bsp"), "chart"), "");
    EXPECT_FALSE(registry.KeyExists(0, csg));

    const std::string leading = "\\" + csg;
    registry.SaveString(1, leading, "x", "1");
    EXPECT_EQ(registry.ReadValue(1, leading, "x"), "");
    EXPECT_FALSE(registry.KeyExists(1, leading));
    // What an empty component means is the backend's affair; it must not leave keys open.
    registry.SaveString(1, this->harness.base + "\\\\Ostrabel", "x", "1");
    registry.ReadValue(1, this->harness.base + "\\\\Ostrabel", "x");
}

// CreateKeyPath makes every missing key and keeps the rest; WriteValue writes the byte count
// given, into an existing key only.
TYPED_TEST_P(RegistryOperationsTest, CreateKeyPathAndWriteValue)
{
    auto &h = this->harness;
    Registry &registry = this->registry;
    const std::string kelvane = this->path("Ostrabel\\Kelvane");
    h.putRaw(h.base, "keep", RegType::String, "x");
    registry.WriteValue(1, this->csg, "chart", RegType::String, "1", 1);
    EXPECT_FALSE(registry.KeyExists(1, this->csg));
    registry.CreateKeyPath(1, this->csg);
    EXPECT_TRUE(h.hasKey(this->path("Ostrabel")) && h.hasKey(kelvane) && h.hasKey(this->csg));
    registry.WriteValue(1, this->csg, "cut", RegType::String, "abcdef", 3);
    registry.SaveString(1, kelvane, "note", "kept");
    registry.CreateKeyPath(1, this->csg);
    EXPECT_EQ(registry.ReadValue(1, h.base, "keep"), "x");
    EXPECT_EQ(registry.ReadValue(1, this->csg, "cut"), "abc");
    EXPECT_EQ(registry.ReadValue(1, kelvane, "note"), "kept");
}

REGISTER_TYPED_TEST_SUITE_P(RegistryOperationsTest, SavedTextReadsBackTheSameInAnyCase,
                            ValuesWrittenByOtherProgramsReadAsText, WhatIsNotThereReadsEmpty,
                            CreateKeyPathAndWriteValue);

} // namespace kelvane

#include "util/dos_path.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(DosPatternTest, MatchesNamesCaseBlind)
{
    const std::tuple<const char *, const char *, bool> rows[] = {
        {"*.map", "TEST.MAP", true},
        {"*.map", ".map", true},
        {"*.map", "test.mapx", false},
        {"*.map", "test.ma", false},
        {"map*", "Map_1.bsp", true},
        {"a*z", "az", true},
        {"a*z", "a", false},
        {"ab*ba", "aba", false},
        {"ab*ba", "abba", true},
        {"*", "", true},
        {"test.map", "test.map2", false},
        {"*.m?p", "x.MAP", true},
        {"*a*.map", "b.map", false},
        {"*.rmf;*.map", "x.map", true},
        {"*.rmf;*.map", "x.bsp", false},
    };
    for (const auto &[pattern, name, matches] : rows)
        EXPECT_EQ(dos::matches(pattern, name), matches) << pattern << " / " << name;
}

} // namespace
} // namespace kelvane

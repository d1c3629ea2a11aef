#include "util/dos_path.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(DosPatternTest, MatchesNamesCaseBlind)
{
    const std::tuple<const char *, const char *, bool> rows[] = {
        {"*.map", "TEST.MAP", true},
        {"*.map", "test.mapx", false},
        {"ab*ba", "aba", false}, // the star may not make the ends overlap
        {"*", "", true},
        {"*.m?p", "x.MAP", true},
        {"*.rmf;*.map", "x.map", true},
    };
    for (const auto &[pattern, name, matches] : rows)
        EXPECT_EQ(dos::matches(pattern, name), matches) << pattern << " / " << name;
}

} // namespace
} // namespace kelvane

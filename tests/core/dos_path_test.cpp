#include "util/dos_path.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

struct PatternRow
{
    const char *pattern;
    const char *name;
    bool matches;
};

class DosPatternTest : public ::testing::TestWithParam<PatternRow>
{
};

TEST_P(DosPatternTest, MatchesNamesCaseBlind)
{
    const PatternRow &row = GetParam();
    EXPECT_EQ(dos::matches(row.pattern, row.name), row.matches) << row.pattern << " / " << row.name;
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, DosPatternTest,
    ::testing::Values(PatternRow{"*.map", "test.map", true}, PatternRow{"*.map", "TEST.MAP", true},
                      PatternRow{"*.map", ".map", true}, PatternRow{"*.map", "test.mapx", false},
                      PatternRow{"*.map", "map", false}, PatternRow{"*.map", "test.ma", false},
                      PatternRow{"map*", "Map_1.bsp", true}, PatternRow{"map*", "ma", false},
                      PatternRow{"a*z", "az", true}, PatternRow{"a*z", "a", false},
                      PatternRow{"ab*ba", "aba", false}, PatternRow{"ab*ba", "abba", true},
                      PatternRow{"*", "", true}, PatternRow{"test.map", "Test.Map", true},
                      PatternRow{"test.map", "test.map2", false},
                      PatternRow{"*.m?p", "x.MAP", true}, PatternRow{"*a*.map", "b.map", false},
                      PatternRow{"*a*.map", "ba.map", true},
                      PatternRow{"*.rmf;*.map", "x.map", true},
                      PatternRow{"*.rmf;*.map", "x.bsp", false}));

} // namespace
} // namespace kelvane

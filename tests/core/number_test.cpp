#include "util/number.h"

#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace kelvane {
namespace {

struct Reading
{
    std::string text;
    double value;
};

class LeadingNumberTest : public ::testing::TestWithParam<Reading>
{
};

TEST_P(LeadingNumberTest, ReadsTheNumberTheTextBeginsWith)
{
    EXPECT_DOUBLE_EQ(leadingNumber(GetParam().text), GetParam().value)
        << '"' << GetParam().text << '"';
}

constexpr double kHuge = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Texts, LeadingNumberTest,
    ::testing::Values(
        // plain numbers, signs and the decimal point
        Reading{"6", 6}, Reading{"06", 6}, Reading{"6.5", 6.5}, Reading{"-1", -1},
        Reading{"+.5", 0.5}, Reading{"5.", 5}, Reading{"240.5", 240.5},
        // blanks before the number are skipped, reading stops at what cannot continue it
        Reading{" -1", -1}, Reading{"\t 3", 3}, Reading{"7 Kerne", 7}, Reading{"2,5", 2},
        Reading{"1.2.3", 1.2}, Reading{"12abc", 12}, Reading{"- 1", 0},
        // exponents, only when digits follow
        Reading{"1e1", 10}, Reading{"2.41E2", 241}, Reading{"1e-1", 0.1}, Reading{"1e", 1},
        Reading{"1e+", 1}, Reading{"3ex", 3},
        // texts that do not begin with a number
        Reading{"", 0}, Reading{"abc", 0}, Reading{".", 0}, Reading{"-", 0}, Reading{"+.", 0},
        Reading{"e5", 0}, Reading{",5", 0},
        // beyond a double: above every limit, or nothing
        Reading{"1e400", kHuge}, Reading{"-1e400", -kHuge}, Reading{"1e-400", 0},
        Reading{"0.000001e-400", 0}, Reading{std::string(400, '9'), kHuge}));

} // namespace
} // namespace kelvane

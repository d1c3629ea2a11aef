#include "util/number.h"

#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace kelvane {
namespace {

TEST(LeadingNumberTest, ReadsTheNumberTheTextBeginsWith)
{
    constexpr double kHuge = std::numeric_limits<double>::infinity();
    // clang-format off
    const std::pair<std::string, double> rows[] = {
        // plain numbers, signs and the decimal point
        {"6", 6}, {"06", 6}, {"6.5", 6.5}, {"-1", -1}, {"+.5", 0.5}, {"5.", 5}, {"240.5", 240.5},
        // blanks before the number are skipped, reading stops at what cannot continue it
        {" -1", -1}, {"\t 3", 3}, {"7 Kerne", 7}, {"2,5", 2}, {"1.2.3", 1.2}, {"12abc", 12},
        {"- 1", 0},
        // exponents, only when digits follow
        {"1e1", 10}, {"2.41E2", 241}, {"1e-1", 0.1}, {"1e", 1}, {"1e+", 1}, {"3ex", 3},
        // texts that do not begin with a number
        {"", 0}, {"abc", 0}, {".", 0}, {"-", 0}, {"+.", 0}, {"e5", 0}, {",5", 0},
        // beyond a double: above every limit, or nothing
        {"1e400", kHuge}, {"-1e400", -kHuge}, {"1e-400", 0}, {"0.000001e-400", 0},
        {std::string(400, '9'), kHuge},
    };
    // clang-format on
    for (const auto &[text, value] : rows)
        EXPECT_DOUBLE_EQ(leadingNumber(text), value) << '"' << text << '"';
}

} // namespace
} // namespace kelvane

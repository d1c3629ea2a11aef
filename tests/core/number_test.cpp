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
        {"06", 6}, {"+.5", 0.5}, {" \t-3", -3}, {"2,5", 2}, {"1.2.3", 1.2}, {"- 1", 0},
        {"2.41E2", 241}, {"1e+", 1}, {"", 0}, {"+.", 0},
        // beyond a double: above every limit, or nothing
        {"1e400", kHuge}, {"-1e400", -kHuge}, {"1e-400", 0}, {std::string(400, '9'), kHuge},
    };
    // clang-format on
    for (const auto &[text, value] : rows)
        EXPECT_DOUBLE_EQ(leadingNumber(text), value) << '"' << text << '"';
}

} // namespace
} // namespace kelvane

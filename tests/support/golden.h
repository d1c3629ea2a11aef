#pragma once

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace kelvane::testing {

// Shows bytes so that line ends and code page bytes can be read in a failure message.
inline std::string visible(const std::string &bytes)
{
    std::string out;
    for (unsigned char c : bytes) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c < 0x20 || c >= 0x7F) {
            static const char digits[] = "0123456789ABCDEF";
            out += "\\x";
            out += digits[c >> 4];
            out += digits[c & 0xF];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

// The text cut after each LF, so that every piece keeps its own line end.
inline std::vector<std::string> linesOf(const std::string &bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find('\n', start);
        const std::size_t next = end == std::string::npos ? bytes.size() : end + 1;
        lines.push_back(bytes.substr(start, next - start));
        start = next;
    }
    return lines;
}

inline std::string goldenPath(const std::string &name)
{
    return std::string(KELVANE_GOLDEN_DIR) + "/" + name;
}

// Compares bytes with a golden file, byte for byte; a mismatch lists the lines side by side.
inline ::testing::AssertionResult matchesGolden(const std::string &name, const std::string &actual)
{
    std::ifstream in(goldenPath(name), std::ios::binary);
    if (!in)
        return ::testing::AssertionFailure() << "golden file " << goldenPath(name) << " is missing";
    const std::string expected{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
    if (expected == actual)
        return ::testing::AssertionSuccess();

    const auto want = linesOf(expected);
    const auto got = linesOf(actual);
    std::ostringstream diff;
    diff << "differs from " << name << " (- golden, + written):\n";
    for (std::size_t i = 0; i < std::max(want.size(), got.size()); ++i) {
        const std::string w = i < want.size() ? visible(want[i]) : "(no line)";
        const std::string g = i < got.size() ? visible(got[i]) : "(no line)";
        if (w == g) {
            diff << "  " << i + 1 << "  " << w << "\n";
        } else {
            diff << "- " << i + 1 << "  " << w << "\n";
            diff << "+ " << i + 1 << "  " << g << "\n";
        }
    }
    return ::testing::AssertionFailure() << diff.str();
}

} // namespace kelvane::testing

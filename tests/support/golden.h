#pragma once

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace kelvane::testing {

// Shows bytes so that line ends and code page bytes can be read in a failure message; each
// line stays a line.
inline std::string visible(const std::string &bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n\n";
        else if (c < 0x20 || c >= 0x7F)
            out += std::string("\\x") + digits[c >> 4] + digits[c & 0xF];
        else
            out += static_cast<char>(c);
    }
    return out;
}

// Compares bytes with a golden file beside the tests, byte for byte.
inline ::testing::AssertionResult matchesGolden(const std::string &name, const std::string &actual)
{
    const std::string path = std::string(KELVANE_GOLDEN_DIR) + "/" + name;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return ::testing::AssertionFailure() << "golden file " << path << " is missing";
    const std::string expected{std::istreambuf_iterator<char>(in), {}};
    if (expected == actual)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << name << " holds:\n"
                                         << visible(expected) << "\nbut the script is:\n"
                                         << visible(actual);
}

} // namespace kelvane::testing

#pragma once

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace kelvane::testing {

// The bytes of a golden file beside the tests; a failed comparison shows both escaped, line by
// line.
inline std::string golden(const std::string &name)
{
    std::ifstream in(std::string(KELVANE_GOLDEN_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in) << "golden file " << name << " is missing";
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace kelvane::testing

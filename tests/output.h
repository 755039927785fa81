// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <regex>
#include <string>

// What both tables expect of secs's standard output. It matches `out`, a regex in which {N}
// stands for the number. The number is at least N, and at most the whole seconds that the table
// saw pass.
inline void ExpectOutput(const std::string& seen, const char* out, long long seconds)
{
    std::string pattern = out;
    const size_t at = pattern.find('{');
    if (at != std::string::npos) {
        pattern.replace(at, 3, "(-?[0-9]+)");
    }
    std::smatch number;
    ASSERT_TRUE(std::regex_match(seen, number, std::regex(pattern))) << "stdout: " << seen;
    if (at != std::string::npos) {
        EXPECT_GE(std::stoll(number[1]), out[at + 1] - '0');
        EXPECT_LE(std::stoll(number[1]), seconds);
    }
}

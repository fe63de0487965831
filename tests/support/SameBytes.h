#pragma once

#include <string_view>

#include <gtest/gtest.h>

namespace penlark::testing {

// Compares two byte strings that may be large: equal sizes first, then the bytes, and on a
// difference reports the sizes and the first differing offset with a few bytes around it, never
// the whole contents (GoogleTest's own diff of two megabyte strings takes gigabytes).
// Use as EXPECT_TRUE(SameBytes(actual, expected)).
::testing::AssertionResult SameBytes(std::string_view actual, std::string_view expected);

}  // namespace penlark::testing

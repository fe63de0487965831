#pragma once

#include <string_view>

#include <gtest/gtest.h>

namespace penlark::testing {

// Compares possibly large byte strings size first; a difference shows the sizes and the first
// differing offset with a few bytes around it (GoogleTest's own diff of megabytes takes gigabytes).
::testing::AssertionResult SameBytes(std::string_view actual, std::string_view expected);

}  // namespace penlark::testing

#include "support/SameBytes.h"

#include <algorithm>
#include <string>

namespace penlark::testing {
namespace {

// The bytes around `offset`, printed with GoogleTest's escapes.
std::string Excerpt(std::string_view bytes, std::size_t offset) {
  const std::size_t begin = offset > 16 ? offset - 16 : 0;
  return ::testing::PrintToString(std::string(bytes.substr(begin, offset + 16 - begin)));
}

}  // namespace

::testing::AssertionResult SameBytes(std::string_view actual, std::string_view expected) {
  if (actual == expected) {
    return ::testing::AssertionSuccess();
  }
  const auto offset = static_cast<std::size_t>(
      std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end()).first -
      actual.begin());
  return ::testing::AssertionFailure()
         << "sizes " << actual.size() << " and " << expected.size()
         << " (expected); first difference at byte " << offset << ": actual "
         << Excerpt(actual, offset) << ", expected " << Excerpt(expected, offset);
}

}  // namespace penlark::testing

#include "support/SameBytes.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace penlark::testing {
namespace {

constexpr std::size_t kContext = 16;

// The bytes around `offset`, printable ones as they are and the others as \xNN.
std::string Excerpt(std::string_view bytes, std::size_t offset) {
  const std::size_t begin = offset > kContext ? offset - kContext : 0;
  const std::size_t end = std::min(bytes.size(), offset + kContext);
  std::string excerpt;
  for (std::size_t i = begin; i < end; ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
      excerpt.push_back(static_cast<char>(byte));
    } else {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      excerpt += escaped;
    }
  }
  return excerpt;
}

}  // namespace

::testing::AssertionResult SameBytes(std::string_view actual, std::string_view expected) {
  if (actual == expected) {
    return ::testing::AssertionSuccess();
  }
  const auto mismatch =
      std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
  const auto offset = static_cast<std::size_t>(mismatch.first - actual.begin());
  return ::testing::AssertionFailure()
         << "sizes " << actual.size() << " and " << expected.size()
         << " (expected); first difference at byte " << offset << ": actual \""
         << Excerpt(actual, offset) << "\", expected \"" << Excerpt(expected, offset) << "\"";
}

}  // namespace penlark::testing

#include "compression/Checksum.h"

#include "compression/He3Format.h"

#include <algorithm>
#include <cstring>

namespace penlark {
namespace {

std::uint64_t XorWords(const std::uint8_t* begin, const std::uint8_t* end) {
  std::uint64_t folded = 0;
  for (; end - begin >= 8; begin += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, begin, sizeof word);
    folded ^= word;
  }
  for (; begin != end; ++begin) {
    folded ^= *begin;
  }
  return folded;
}

}  // namespace

std::uint8_t XorChecksum(std::span<const std::uint8_t> data, ProgressReporter& progress,
                         double scale, double offset) {
  const auto size = static_cast<std::int64_t>(data.size());
  std::uint64_t folded = 0;
  for (std::size_t start = 0; start < data.size(); start += he3::kStep) {
    progress.Report(static_cast<std::int64_t>(start), size, scale, offset);
    const std::size_t end = std::min(start + he3::kStep, data.size());
    folded ^= XorWords(data.data() + start, data.data() + end);
  }
  for (unsigned shift = 32; shift >= 8; shift /= 2) {
    folded ^= folded >> shift;
  }
  return static_cast<std::uint8_t>(folded);
}

}  // namespace penlark

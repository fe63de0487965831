#include "compression/Checksum.h"

#include "compression/He3Format.h"

#include <cstring>

namespace penlark {

std::uint64_t XorWords(std::span<const std::uint8_t> bytes) {
  const std::uint8_t* begin = bytes.data();
  const std::uint8_t* end = begin + bytes.size();
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

std::uint8_t FoldXor(std::uint64_t words) {
  for (unsigned shift = 32; shift >= 8; shift /= 2) {
    words ^= words >> shift;
  }
  return static_cast<std::uint8_t>(words);
}

void ReportChecksumPhase(std::size_t size, ProgressReporter& progress, double scale,
                         double offset) {
  for (std::size_t start = 0; start < size; start += he3::kStep) {
    progress.Report(static_cast<std::int64_t>(start), static_cast<std::int64_t>(size), scale,
                    offset);
  }
}

}  // namespace penlark

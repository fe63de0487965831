#pragma once

#include "compression/DecodingTree.h"

#include <cstdint>
#include <vector>

namespace penlark {

// Lookup tables that decode the next `Bits()` bits of a stream at once, indexed by those bits
// (the first in bit 0). An entry holds:
//   - symbols: bytes 0 to 2 the decoded byte values, bits 24 to 29 the number of stream bits
//     they take, bits 30 and 31 how many values there are (1 to 3);
//   - an escape, when no whole code fits (the count is 0): bits 0 to 15 the inner node of the
//     tree reached after `Bits()` bits, or kBrokenPath when a missing child lies on the way.
class DecodingTable {
 public:
  static constexpr std::uint32_t kBrokenPath = 0xFFFF;

  // Tables of `bits` bits (1 to 14) for `tree`, which must not label its root.
  DecodingTable(const DecodingTree& tree, unsigned bits);

  unsigned Bits() const { return bits_; }
  std::uint32_t Mask() const { return mask_; }

  // One code per entry.
  std::uint32_t Single(std::uint64_t window) const { return single_[window & mask_]; }
  // As many whole codes as fit, up to three.
  std::uint32_t Multiple(std::uint64_t window) const { return multiple_[window & mask_]; }

  static unsigned Count(std::uint32_t entry) { return entry >> 30; }
  static unsigned Length(std::uint32_t entry) { return (entry >> 24) & 63u; }
  static std::uint8_t FirstValue(std::uint32_t entry) { return static_cast<std::uint8_t>(entry); }
  static std::uint32_t EscapeNode(std::uint32_t entry) { return entry & 0xFFFFu; }

 private:
  void FillSingle(const DecodingTree& tree, std::int16_t index, unsigned depth,
                  std::uint32_t prefix);
  void FillMultiple();

  unsigned bits_;
  std::uint32_t mask_;
  std::vector<std::uint32_t> single_;
  std::vector<std::uint32_t> multiple_;
};

}  // namespace penlark

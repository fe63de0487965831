#pragma once

#include "compression/DecodingTree.h"

#include <cstdint>
#include <vector>

namespace penlark {

// Lookup tables that decode the next `Bits()` bits of a stream at once, indexed by those bits
// (the first in bit 0). An entry holds in bits 0 to 5 the number of stream bits it takes (first,
// so that the walk can shift by the entry itself), in bits 6 and 7 how many byte values it
// decodes (1 to 3), and from bit 8 up those values, one per byte. An entry that decodes
// nothing, because no whole code fits, is an escape: from bit 8 up it holds the inner node of
// the tree reached after `Bits()` bits, or kBrokenPath when a missing child lies on the way.
class DecodingTable {
 public:
  static constexpr std::uint32_t kBrokenPath = 0xFFFF;
  static constexpr std::uint32_t kBrokenEntry = kBrokenPath << 8;

  // Tables of `bits` bits (1 to 14) for `tree`, which must not label its root.
  DecodingTable(const DecodingTree& tree, unsigned bits);

  unsigned Bits() const { return bits_; }
  std::uint32_t Mask() const { return mask_; }

  // One code per entry.
  std::uint32_t Single(std::uint64_t window) const {
    return single_[static_cast<std::size_t>(window & mask_)];
  }
  // As many whole codes as fit, up to three.
  std::uint32_t Multiple(std::uint64_t window) const {
    return multiple_[static_cast<std::size_t>(window & mask_)];
  }
  // The entries behind Multiple, for loops that keep them in a register.
  const std::uint32_t* MultipleEntries() const { return multiple_.data(); }

  static unsigned Length(std::uint32_t entry) { return entry & 63u; }
  static unsigned Count(std::uint32_t entry) { return (entry >> 6) & 3u; }
  static std::uint32_t Values(std::uint32_t entry) { return entry >> 8; }
  static std::uint8_t FirstValue(std::uint32_t entry) {
    return static_cast<std::uint8_t>(entry >> 8);
  }
  static std::uint32_t EscapeNode(std::uint32_t entry) { return entry >> 8; }

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

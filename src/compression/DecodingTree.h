#pragma once

#include "compression/CodeTree.h"

#include <cstdint>
#include <span>
#include <vector>

namespace penlark {

// Reads bits from the least significant bit of each byte up; running past the end is corruption.
class BitReader {
 public:
  BitReader(std::span<const std::uint8_t> bytes, std::uint64_t position)
      : bytes_(bytes), position_(position) {}

  unsigned Next();
  std::uint64_t Position() const { return position_; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::uint64_t position_;
};

// The code tree rebuilt from stored codes. Node 0 is the root; every code follows its bits from
// the root, creating the children it misses, and labels the node it reaches with its byte value.
// Codes that end on or pass through a labelled node are kept as they come: a walk stops at the
// first labelled node it reaches.
class DecodingTree {
 public:
  DecodingTree();

  // Adds the code of `value`, `length` bits (at least one) read from `bits`. Needing more node
  // records than a code tree can have is corruption.
  void Add(std::uint8_t value, unsigned length, BitReader& bits);

  const Node& operator[](std::int16_t index) const {
    return nodes_[static_cast<std::size_t>(index)];
  }

 private:
  std::vector<Node> nodes_;
};

}  // namespace penlark

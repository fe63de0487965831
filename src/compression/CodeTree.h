#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace penlark {

// One node record of a code tree; -1 stands for none.
struct Node {
  std::int16_t Parent = -1;
  std::int16_t Child1 = -1;  // reached by a 1 bit
  std::int16_t Child0 = -1;  // reached by a 0 bit
  std::int16_t Value = -1;   // the byte value of a leaf
  std::int32_t Weight = 0;
};

// The code of one byte value: BitCount bits, the first (the branch at the root) in bit 0 of Bits.
// Codes built from 32-bit counts are at most 45 bits long: a code of length d needs a total
// weight of at least the Fibonacci number F(d + 1).
struct Code {
  std::uint64_t Bits = 0;
  std::uint8_t BitCount = 0;
};

using ByteCounts = std::array<std::int32_t, 256>;
using CodeTable = std::array<Code, 256>;

// The code tree of the counted byte values: one leaf per value with a count above 0, in
// ascending value, then the inner nodes in the order the merges create them; the root last.
std::vector<Node> BuildCodeTree(const ByteCounts& counts);

// The code of every byte value, by a walk from the root that takes Child0 (a 0 bit) before
// Child1. A root that is a leaf gets the empty code; values not in the tree have BitCount 0.
CodeTable AssignCodes(const std::vector<Node>& tree);

}  // namespace penlark

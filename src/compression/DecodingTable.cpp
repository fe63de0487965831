#include "compression/DecodingTable.h"

namespace penlark {
namespace {

constexpr std::uint32_t SymbolEntry(std::uint32_t values, unsigned length, unsigned count) {
  return values << 8 | count << 6 | length;
}

}  // namespace

DecodingTable::DecodingTable(const DecodingTree& tree, unsigned bits)
    : bits_(bits),
      mask_((1u << bits) - 1),
      single_(std::size_t{1} << bits, kBrokenEntry),
      multiple_(std::size_t{1} << bits) {
  FillSingle(tree, 0, 0, 0);
  FillMultiple();
}

void DecodingTable::FillSingle(const DecodingTree& tree, std::int16_t index, unsigned depth,
                               std::uint32_t prefix) {
  const Node& node = tree[index];
  if (node.Value >= 0) {
    const std::uint32_t entry = SymbolEntry(static_cast<std::uint32_t>(node.Value), depth, 1);
    for (std::size_t i = prefix; i < single_.size(); i += std::size_t{1} << depth) {
      single_[i] = entry;
    }
  } else if (depth == bits_) {
    single_[prefix] = static_cast<std::uint32_t>(index) << 8;
  } else {
    if (node.Child0 != -1) {
      FillSingle(tree, node.Child0, depth + 1, prefix);
    }
    if (node.Child1 != -1) {
      FillSingle(tree, node.Child1, depth + 1, prefix | 1u << depth);
    }
  }
}

void DecodingTable::FillMultiple() {
  for (std::uint32_t index = 0; index <= mask_; ++index) {
    const std::uint32_t first = single_[index];
    if (Count(first) == 0) {
      multiple_[index] = first;
      continue;
    }
    std::uint32_t values = FirstValue(first);
    unsigned length = Length(first);
    unsigned count = 1;
    // The bits above `length` in `index >> length` are unknown: a further code counts only if
    // it ends within the known ones.
    for (; count < 3; ++count) {
      const std::uint32_t next = single_[index >> length];
      if (Count(next) == 0 || length + Length(next) > bits_) {
        break;
      }
      values |= std::uint32_t{FirstValue(next)} << (8 * count);
      length += Length(next);
    }
    multiple_[index] = SymbolEntry(values, length, count);
  }
}

}  // namespace penlark

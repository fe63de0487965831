#include "compression/DecodingTree.h"

#include "compression/He3Format.h"
#include "compression/HuffmanError.h"

namespace penlark {

unsigned BitReader::Next() {
  if (position_ >= bytes_.size() * 8) {
    throw ChecksumError();
  }
  const unsigned bit =
      static_cast<unsigned>(bytes_[static_cast<std::size_t>(position_ / 8)] >> (position_ % 8)) &
      1u;
  ++position_;
  return bit;
}

DecodingTree::DecodingTree() {
  nodes_.reserve(he3::kMaxNodes);
  nodes_.emplace_back();
}

void DecodingTree::Add(std::uint8_t value, unsigned length, BitReader& bits) {
  std::size_t at = 0;
  for (unsigned k = 0; k < length; ++k) {
    std::int16_t& child = bits.Next() != 0 ? nodes_[at].Child1 : nodes_[at].Child0;
    if (child == -1) {
      if (nodes_.size() == he3::kMaxNodes) {
        throw ChecksumError();
      }
      child = static_cast<std::int16_t>(nodes_.size());
      nodes_.push_back({.Parent = static_cast<std::int16_t>(at)});
    }
    at = static_cast<std::size_t>(child);
  }
  nodes_[at].Value = value;
}

}  // namespace penlark

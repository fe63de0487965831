#pragma once

#include "compression/HuffmanCompression.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace penlark::testing {

using Bytes = std::vector<std::uint8_t>;

inline Bytes ToBytes(std::string_view text) {
  return {text.begin(), text.end()};
}

inline std::string AsText(const Bytes& bytes) {
  return {bytes.begin(), bytes.end()};
}

inline Bytes Encoded(Bytes data) {
  HuffmanCompression().EncodeByte(data, static_cast<std::int32_t>(data.size()));
  return data;
}

inline Bytes Encoded(std::string_view text) {
  return Encoded(ToBytes(text));
}

// An HE3 block whose stored checksum is wrong.
inline Bytes WithWrongChecksum(Bytes block) {
  block[4] ^= 1;
  return block;
}

inline Bytes Decoded(Bytes block) {
  HuffmanCompression().DecodeByte(block, static_cast<std::int32_t>(block.size()));
  return block;
}

// The code of each byte value of an HE3 block, as '0' and '1' from the root down.
inline std::map<std::uint8_t, std::string> CodesOf(const Bytes& block) {
  const std::size_t count = block[9] | std::size_t{block[10]} << 8;
  std::size_t bit = 8 * (11 + 2 * count);
  std::map<std::uint8_t, std::string> codes;
  for (std::size_t pair = 0; pair < count; ++pair) {
    std::string& code = codes[block[11 + 2 * pair]];
    for (unsigned k = 0; k < block[12 + 2 * pair]; ++k, ++bit) {
      code += ((block[bit / 8] >> (bit % 8)) & 1) != 0 ? '1' : '0';
    }
  }
  return codes;
}

// `size` bytes drawn from the first `alphabet` byte values, value v weighted (v + 1)^skew.
inline Bytes RandomBytes(std::size_t size, int alphabet, double skew, unsigned seed) {
  std::vector<double> weights;
  for (int v = 0; v < alphabet; ++v) {
    weights.push_back(std::pow(v + 1.0, skew));
  }
  std::mt19937 random(seed);
  std::discrete_distribution<int> pick(weights.begin(), weights.end());
  Bytes bytes(size);
  for (auto& byte : bytes) {
    byte = static_cast<std::uint8_t>(pick(random));
  }
  return bytes;
}

// Byte value v appears Fibonacci(v + 1) times, shuffled: the codes grow about one bit longer
// per value, past the width of any decoding table.
inline Bytes FibonacciBytes(int values) {
  Bytes bytes;
  std::uint32_t a = 1, b = 1;
  for (int v = 0; v < values; ++v) {
    bytes.insert(bytes.end(), a, static_cast<std::uint8_t>(v));
    const std::uint32_t next = a + b;
    a = b;
    b = next;
  }
  std::shuffle(bytes.begin(), bytes.end(), std::mt19937(7));
  return bytes;
}

}  // namespace penlark::testing

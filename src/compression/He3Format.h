#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

// The layout of HE3 and HE0 blocks; numbers are little-endian.
namespace penlark::he3 {

// The bit streams are moved eight bytes at a time as little-endian words.
static_assert(std::endian::native == std::endian::little);

using Identification = std::array<std::uint8_t, 4>;
inline constexpr Identification kCodedId = {'H', 'E', '3', '\r'};
inline constexpr Identification kStoredId = {'H', 'E', '0', '\r'};

inline constexpr std::size_t kChecksumOffset = 4;  // 1 byte: XOR of the uncompressed bytes
inline constexpr std::size_t kLengthOffset = 5;    // signed 32-bit: uncompressed length
inline constexpr std::size_t kCountOffset = 9;     // signed 16-bit: N, distinct byte values
inline constexpr std::size_t kTableOffset = 11;    // N pairs (byte value, code length)

inline constexpr int kMinCount = 2;
inline constexpr int kMaxCount = 256;

// A code tree never needs more node records than this.
inline constexpr std::size_t kMaxNodes = 512;

// Progress is computed every kCountStep bytes while counting and every kStep bytes otherwise.
inline constexpr std::size_t kCountStep = 1000;
inline constexpr std::size_t kStep = 10000;

}  // namespace penlark::he3

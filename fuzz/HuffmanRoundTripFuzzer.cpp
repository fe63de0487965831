// Encodes the input but for its last 0 to 3 bytes (the first byte says how many), so that
// ByteLen is shorter than the array; decodes the block with guard bytes after it, which must be
// ignored; the result must be the encoded part of the input, and the block no larger than the
// format allows.

#include "compression/HuffmanCompression.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

// The most an HE3 block adds to its data: the header, 256 pairs, 256 codes of 255 bits.
constexpr std::size_t kLargestOverhead = 11 + 2 * 256 + 256 * 255 / 8;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::size_t excluded = size == 0 ? 0 : std::min<std::size_t>(data[0] % 4, size);
  const std::vector<std::uint8_t> expected(data, data + size - excluded);

  const penlark::HuffmanCompression codec;
  std::vector<std::uint8_t> bytes(data, data + size);
  codec.EncodeByte(bytes, static_cast<std::int32_t>(size - excluded));
  const std::size_t blockSize = bytes.size();
  bytes.insert(bytes.end(), {0xFF, 0x00, 0xA5, 0x5A});
  // An HE3 block knows its length, so the guard bytes may lie within ByteLen; an HE0 block
  // ends at ByteLen.
  const bool coded = bytes[2] == '3';
  codec.DecodeByte(bytes, static_cast<std::int32_t>(coded ? bytes.size() : blockSize));
  if (bytes != expected || blockSize > expected.size() + kLargestOverhead) {
    std::abort();
  }
  return 0;
}

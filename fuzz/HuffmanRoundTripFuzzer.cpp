// Encodes the input but for its last 0 to 3 bytes (the first byte says how many), so that
// ByteLen is shorter than the array; decodes the block with guard bytes after it, which must be
// ignored; the result must be the encoded part of the input.

#include "compression/HuffmanCompression.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::size_t excluded = size == 0 ? 0 : std::min<std::size_t>(data[0] % 4, size);
  const std::vector<std::uint8_t> expected(data, data + size - excluded);

  const penlark::HuffmanCompression codec;
  std::vector<std::uint8_t> bytes(data, data + size);
  codec.EncodeByte(bytes, static_cast<std::int32_t>(size - excluded));
  const std::size_t blockSize = bytes.size();
  bytes.insert(bytes.end(), {0xFF, 0x00, 0xA5, 0x5A});
  codec.DecodeByte(bytes, static_cast<std::int32_t>(bytes.size()));
  if (bytes != expected || blockSize > expected.size() + 4 + 11 + 512 + 8160) {
    std::abort();
  }
  return 0;
}

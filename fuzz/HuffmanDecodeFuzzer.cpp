// Decodes arbitrary bytes: any outcome but a codec error must be data that encodes and decodes
// back to itself; an error must leave the array as it was; progress must stay within 0 to 100
// and change with every event.

#include "compression/HuffmanCompression.h"
#include "compression/HuffmanError.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> bytes(data, data + size);
  const std::vector<std::uint8_t> original = bytes;
  std::vector<int> events;
  penlark::HuffmanCompression codec;
  codec.SetProgressListener([&events](std::int16_t Procent) {
    if (Procent < 0 || Procent > 100 || (!events.empty() && events.back() == Procent)) {
      std::abort();
    }
    events.push_back(Procent);
  });
  try {
    codec.DecodeByte(bytes, static_cast<std::int32_t>(size));
  } catch (const penlark::HuffmanError&) {
    if (bytes != original) {
      std::abort();
    }
    return 0;
  }
  std::vector<std::uint8_t> again = bytes;
  codec.EncodeByte(again, static_cast<std::int32_t>(again.size()));
  codec.DecodeByte(again, static_cast<std::int32_t>(again.size()));
  if (again != bytes) {
    std::abort();
  }
  return 0;
}

#include "compression/BitWriter.h"

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

namespace penlark {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Bits go in from the least significant bit up; the last byte is padded with zeros.
TEST(BitWriter, PacksFromTheLeastSignificantBitAndCarriesAFullRoomAfterAPartialByte) {
  Bytes out(24, 0xEE);
  BitWriter writer(out.data());
  writer.Put(0b1, 1);
  writer.Put(0b10, 2);
  writer.Put(0b111111, 6);
  EXPECT_EQ(Bytes(out.data(), writer.Finish()), (Bytes{0b11111101, 0b00000001}));

  BitWriter carrying(out.data());
  carrying.Put(0, 7);
  carrying.Flush();
  carrying.Put((std::uint64_t{1} << BitWriter::kRoom) - 1, BitWriter::kRoom);
  carrying.Flush();
  carrying.Put(0b10, 2);
  EXPECT_EQ(Bytes(out.data(), carrying.Finish()),
            (Bytes{0x80, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x01}));
}

}  // namespace
}  // namespace penlark

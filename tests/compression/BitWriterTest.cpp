#include "compression/BitWriter.h"

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

namespace penlark {
namespace {

TEST(BitWriter, PacksFromTheLeastSignificantBitAndPadsWithZeros) {
  std::vector<std::uint8_t> out(16, 0xEE);
  BitWriter writer(out.data());
  writer.Put(0b1, 1);
  writer.Put(0b10, 2);
  writer.Put(0b111111, 6);
  EXPECT_EQ(writer.Finish(), out.data() + 2);
  EXPECT_EQ(out[0], 0b11111101);
  EXPECT_EQ(out[1], 0b00000001);
}

TEST(BitWriter, AFullRoomAfterAPartialByteCarriesOverWhole) {
  std::vector<std::uint8_t> out(24, 0xEE);
  BitWriter writer(out.data());
  writer.Put(0, 7);
  writer.Flush();
  writer.Put((std::uint64_t{1} << BitWriter::kRoom) - 1, BitWriter::kRoom);
  writer.Flush();
  writer.Put(0, 1);
  writer.Put(0b1, 1);
  const std::uint8_t* end = writer.Finish();
  // 7 zeros, kRoom ones, a zero and a one.
  std::vector<int> bits;
  for (const std::uint8_t* p = out.data(); p != end; ++p) {
    for (int k = 0; k < 8; ++k) {
      bits.push_back((*p >> k) & 1);
    }
  }
  std::vector<int> expected(7, 0);
  expected.insert(expected.end(), BitWriter::kRoom, 1);
  expected.insert(expected.end(), {0, 1});
  expected.resize(bits.size(), 0);
  EXPECT_EQ(bits, expected);
}

}  // namespace
}  // namespace penlark

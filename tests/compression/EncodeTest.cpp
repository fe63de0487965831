#include "compression/CodecTestSupport.h"
#include "compression/HuffmanCompression.h"

#include <numeric>

#include <gtest/gtest.h>

namespace penlark::testing {
namespace {

using Codes = std::map<std::uint8_t, std::string>;

TEST(Encode, GivesTheBytesOfTheWorkedExample) {
  const Bytes expected = {0x48, 0x45, 0x33, 0x0D, 0x60, 0x03, 0x00, 0x00, 0x00, 0x03,
                          0x00, 0x61, 0x02, 0x62, 0x02, 0x63, 0x01, 0x0D, 0x0D};
  EXPECT_EQ(Encoded("abc"), expected);
}

// The two parentless nodes merged next: the first two, where every later one strictly lighter
// than the heavier pick replaces it, and of picks that weigh the same the first is the heavier.
TEST(Encode, TheCodesFollowTheMergingRule) {
  const std::pair<std::string, Codes> cases[] = {
      {"abracadabra", {{'a', "0"}, {'b', "101"}, {'c', "110"}, {'d', "111"}, {'r', "100"}}},
      // a 5, b 3, c 4: c replaces the heavier pick a, so b and c merge first.
      {"aaaaabbbcccc", {{'a', "0"}, {'b', "11"}, {'c', "10"}}},
      // a 2, b 2, c 1: c replaces a, so c and b merge first.
      {"aabbc", {{'a', "0"}, {'b', "11"}, {'c', "10"}}},
      // a 1, b 2, c 2: c weighs as much as the heavier pick b, so a and b merge first.
      {"abbcc", {{'a', "10"}, {'b', "11"}, {'c', "0"}}},
  };
  for (const auto& [text, codes] : cases) {
    EXPECT_EQ(CodesOf(Encoded(text)), codes) << text;
  }
}

// Data with less than two byte values is stored; packed data as long as the input is still coded.
TEST(Encode, StoresOnlyWhatHasLessThanTwoByteValues) {
  EXPECT_EQ(Encoded(""), ToBytes("HE0\r"));
  EXPECT_EQ(Encoded("aaaa"), ToBytes("HE0\raaaa"));
  EXPECT_EQ(AsText(Encoded(Bytes(100000, 0))), "HE0\r" + std::string(100000, '\0'));
  Bytes everyValue(256);
  std::iota(everyValue.begin(), everyValue.end(), 0);
  const Bytes block = Encoded(everyValue);
  // Header, 256 pairs, 256 codes of 8 bits, 256 bytes of data.
  EXPECT_EQ(block.size(), 11u + 512 + 256 + 256);
  for (const auto& [value, code] : CodesOf(block)) {
    EXPECT_EQ(code.size(), 8u) << int{value};
  }
}

TEST(Encode, OnlyTheFirstByteLenBytesAreCodedAndOthersAreRefused) {
  const HuffmanCompression codec;
  Bytes array = ToBytes("abcabcabc");
  codec.EncodeByte(array, 3);
  EXPECT_EQ(array, Encoded("abc"));
  array = ToBytes("abc");
  EXPECT_THROW(codec.EncodeByte(array, 4), std::out_of_range);
  EXPECT_THROW(codec.EncodeByte(array, -1), std::out_of_range);
  EXPECT_EQ(array, ToBytes("abc"));
}

}  // namespace
}  // namespace penlark::testing

#include "compression/CodecTestSupport.h"
#include "compression/HuffmanCompression.h"
#include "compression/HuffmanError.h"

#include <gtest/gtest.h>

namespace penlark::testing {
namespace {

// Bits written as '0' and '1' in stream order, packed from the least significant bit up.
Bytes PackBits(std::string_view bits) {
  Bytes bytes((bits.size() + 7) / 8);
  for (std::size_t i = 0; i < bits.size(); ++i) {
    if (bits[i] == '1') {
      bytes[i / 8] |= static_cast<std::uint8_t>(1u << (i % 8));
    }
  }
  return bytes;
}

struct Pair {
  char value;
  std::uint8_t length;
};

// An HE3 block put together by hand.
Bytes CodedBlock(std::uint8_t checksum, std::int32_t length, std::int16_t count,
                 const std::vector<Pair>& table, std::string_view codeBits,
                 std::string_view dataBits) {
  Bytes block = ToBytes("HE3\r");
  block.push_back(checksum);
  for (int i = 0; i < 4; ++i) {
    block.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(length) >> (8 * i)));
  }
  block.push_back(static_cast<std::uint8_t>(count));
  block.push_back(static_cast<std::uint8_t>(static_cast<std::uint16_t>(count) >> 8));
  for (const Pair& pair : table) {
    block.push_back(static_cast<std::uint8_t>(pair.value));
    block.push_back(pair.length);
  }
  for (const Bytes& stream : {PackBits(codeBits), PackBits(dataBits)}) {
    block.insert(block.end(), stream.begin(), stream.end());
  }
  return block;
}

// A block whose table claims `length` bytes from codes a = 0, b = 10, c = 11 and `dataBits`.
Bytes AbcBlock(std::int32_t length, std::string_view dataBits) {
  return CodedBlock(0, length, 3, {{'a', 1}, {'b', 2}, {'c', 2}}, "01011", dataBits);
}

void ExpectCorrupt(Bytes block, std::int32_t byteLen = -1) {
  const Bytes before = block;
  try {
    HuffmanCompression().DecodeByte(
        block, byteLen >= 0 ? byteLen : static_cast<std::int32_t>(block.size()));
    ADD_FAILURE() << "decoded without an error";
  } catch (const HuffmanError& error) {
    EXPECT_EQ(error.Number(), -2147221504);
    EXPECT_EQ(error.Source(), "clsHuffman.Decode()");
    EXPECT_EQ(error.Description(),
              "The data might be corrupted (checksum did not match expected value)");
  }
  EXPECT_EQ(block, before);
}

void ExpectNotIdentified(Bytes block) {
  const Bytes before = block;
  try {
    HuffmanCompression().DecodeByte(block, static_cast<std::int32_t>(block.size()));
    ADD_FAILURE() << "decoded without an error";
  } catch (const HuffmanError& error) {
    EXPECT_EQ(error.Number(), -2147221504);
    EXPECT_EQ(error.Source(), "HuffmanDecode()");
    EXPECT_EQ(error.Description(),
              "The data either was not compressed with HE3 or is corrupt (identification string "
              "not found)");
  }
  EXPECT_EQ(block, before);
}

TEST(Decode, TheWorkedExamplesComeBack) {
  EXPECT_EQ(Decoded(Encoded("abc")), ToBytes("abc"));
  EXPECT_EQ(Decoded(Encoded("abracadabra")), ToBytes("abracadabra"));
}

TEST(Decode, AStoredBlockGivesItsBytes) {
  EXPECT_EQ(Decoded(ToBytes("HE0\rxyz")), ToBytes("xyz"));
  EXPECT_EQ(Decoded(ToBytes("HE0\r")), Bytes{});
  EXPECT_EQ(Decoded(Encoded("")), Bytes{});
}

TEST(Decode, BytesAfterTheOnesNeededAreIgnored) {
  Bytes block = Encoded("abracadabra");
  block.insert(block.end(), {0xFF, 0x00, 0x12});
  EXPECT_EQ(Decoded(block), ToBytes("abracadabra"));

  Bytes stored = ToBytes("HE0\rxyz-and-more");
  HuffmanCompression().DecodeByte(stored, 7);
  EXPECT_EQ(stored, ToBytes("xyz"));
}

TEST(Decode, RandomDataOfManySizesAndShapesComesBack) {
  for (const std::size_t size : {1u, 2u, 3u, 15u, 16u, 17u, 100u, 1000u, 4099u, 100000u}) {
    for (const auto& [alphabet, skew] : {std::pair{2, 0.0}, {256, 0.0}, {256, -1.5}, {40, 1.0}}) {
      const Bytes data = RandomBytes(size, alphabet, skew, static_cast<unsigned>(size));
      EXPECT_EQ(Decoded(Encoded(data)), data) << size << " bytes of " << alphabet;
    }
  }
}

TEST(Decode, CodesLongerThanTheLookupTablesComeBack) {
  const Bytes data = FibonacciBytes(24);
  const Bytes block = Encoded(data);
  std::size_t longest = 0;
  for (const auto& [value, code] : CodesOf(block)) {
    longest = std::max(longest, code.size());
  }
  ASSERT_EQ(longest, 23u);
  EXPECT_EQ(Decoded(block), data);
}

TEST(Decode, AWalkStopsAtTheFirstLabelledNode) {
  // b's code passes through a's leaf, so b can never be decoded: 0 0 gives a a.
  EXPECT_EQ(Decoded(CodedBlock(0, 2, 2, {{'a', 1}, {'b', 2}},
                               "0"
                               "01",
                               "00")),
            ToBytes("aa"));
}

TEST(Decode, DataNotStartingWithAnIdentificationIsRefused) {
  for (const char* text : {"", "H", "HE", "HE3", "HE0", "he3\r", "HE3\n", " HE3\r", "HE03\r"}) {
    SCOPED_TRACE(text);
    ExpectNotIdentified(ToBytes(text));
  }
}

TEST(Decode, HeFollowedByAnyOtherByteAndCrIsRefused) {
  for (int c = 0; c < 256; ++c) {
    if (c != '0' && c != '3') {
      SCOPED_TRACE(c);
      Bytes block = ToBytes("HE?\rabcdefghijkl");
      block[2] = static_cast<std::uint8_t>(c);
      ExpectNotIdentified(block);
    }
  }
}

TEST(Decode, TheIdentificationMustLieWithinByteLen) {
  Bytes block = Encoded("abc");
  const Bytes before = block;
  EXPECT_THROW(HuffmanCompression().DecodeByte(block, 3), HuffmanError);
  EXPECT_EQ(block, before);
}

TEST(Decode, AChecksumThatDoesNotMatchIsRefusedAndTheArrayKept) {
  ExpectCorrupt(WithWrongChecksum(Encoded("abracadabra")));
}

TEST(Decode, AFlippedDataBitIsRefusedAndTheArrayKept) {
  Bytes block = Encoded("abracadabra");
  block[23] ^= 0x01;  // the first a (0) becomes a 1: the codes drift and the XOR changes
  ExpectCorrupt(block);
}

TEST(Decode, ImpossibleHeadersAreCorrupt) {
  ExpectCorrupt(ToBytes("HE3\r\x60\x03\x00"));
  ExpectCorrupt(AbcBlock(0, "0"));  // coded blocks never hold empty data
  ExpectCorrupt(AbcBlock(-1, "0"));
  ExpectCorrupt(CodedBlock(0, 1, 1, {{'a', 1}}, "0", "0"));
  ExpectCorrupt(CodedBlock(0, 1, 0, {}, "", "0"));
  ExpectCorrupt(CodedBlock(0, 1, 257, {{'a', 1}, {'b', 1}}, "01", "0"));
  ExpectCorrupt(CodedBlock(0, 1, -2, {{'a', 1}, {'b', 1}}, "01", "0"));
}

TEST(Decode, TablesAndCodesRunningPastTheEndAreCorrupt) {
  ExpectCorrupt(CodedBlock(0, 1, 3, {{'a', 1}, {'b', 1}}, "", ""));
  const Bytes abc = Encoded("abc");
  ExpectCorrupt(abc, 17);  // the table ends there: no code bits follow
  ExpectCorrupt(CodedBlock('a', 1, 2, {{'a', 200}, {'b', 200}}, "0", ""));
}

TEST(Decode, TablesWithoutCodesAreCorrupt) {
  ExpectCorrupt(CodedBlock('a', 1, 2, {{'a', 0}, {'b', 0}}, "", "0"));
}

TEST(Decode, TablesNeedingMoreThan512NodesAreCorrupt) {
  const std::string zeros(254, '0');
  // Three codes of 255 bits that part at once: 765 nodes.
  ExpectCorrupt(CodedBlock('a', 1, 3, {{'a', 255}, {'b', 255}, {'c', 255}},
                           "0" + zeros + "1" + zeros + "01" + zeros.substr(1), "0"));
}

TEST(Decode, DataRunningOutIsCorrupt) {
  const Bytes block = Encoded("abracadabra");
  ExpectCorrupt(block, static_cast<std::int32_t>(block.size() - 1));
  ExpectCorrupt(AbcBlock(8, "1"));  // b and six a, then the bits run out
  ExpectCorrupt(AbcBlock(9, "0"));
  ExpectCorrupt(AbcBlock(0x7FFFFFFF, "0"));
}

TEST(Decode, AWalkToAMissingChildIsCorrupt) {
  // Codes a = 0 and b = 10: the path 11 leads nowhere.
  ExpectCorrupt(CodedBlock('a', 2, 2, {{'a', 1}, {'b', 2}},
                           "0"
                           "10",
                           "0"
                           "11"));
  // The same past the width of the lookup table: b = 1 and nineteen 0.
  const std::string b = "1" + std::string(19, '0');
  ExpectCorrupt(CodedBlock('a', 2, 2, {{'a', 1}, {'b', 20}}, "0" + b,
                           "0" + b.substr(0, 19) + "1" + std::string(40, '0')));
}

}  // namespace
}  // namespace penlark::testing

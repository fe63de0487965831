#include "compression/HuffmanCompression.h"
#include "compression/HuffmanError.h"
#include "platform/CodePage.h"
#include "support/SameBytes.h"
#include "support/TempDir.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <random>

#include <gtest/gtest.h>

namespace penlark::testing {
namespace {

using Codes = std::map<std::uint8_t, std::string>;
using Events = std::vector<int>;
namespace fs = std::filesystem;

using Bytes = std::vector<std::uint8_t>;

Bytes ToBytes(std::string_view text) {
  return {text.begin(), text.end()};
}

std::string AsText(const Bytes& bytes) {
  return {bytes.begin(), bytes.end()};
}

Bytes Encoded(Bytes data) {
  HuffmanCompression().EncodeByte(data, static_cast<std::int32_t>(data.size()));
  return data;
}

Bytes Encoded(std::string_view text) {
  return Encoded(ToBytes(text));
}

Bytes WithWrongChecksum(Bytes block) {
  block[4] ^= 1;
  return block;
}

Bytes Decoded(Bytes block) {
  HuffmanCompression().DecodeByte(block, static_cast<std::int32_t>(block.size()));
  return block;
}

// The code of each byte value of an HE3 block, as '0' and '1' from the root down.
Codes CodesOf(const Bytes& block) {
  const std::size_t count = block[9] | std::size_t{block[10]} << 8;
  std::size_t bit = 8 * (11 + 2 * count);
  Codes codes;
  for (std::size_t pair = 0; pair < count; ++pair) {
    std::string& code = codes[block[11 + 2 * pair]];
    for (unsigned k = 0; k < block[12 + 2 * pair]; ++k, ++bit) {
      code += ((block[bit / 8] >> (bit % 8)) & 1) != 0 ? '1' : '0';
    }
  }
  return codes;
}

// `size` bytes drawn from the first `alphabet` byte values, value v weighted (v + 1)^skew.
Bytes RandomBytes(std::size_t size, int alphabet, double skew, unsigned seed) {
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

// Value v appears Fibonacci(v + 1) times, shuffled: codes longer than any decoding table.
Bytes FibonacciBytes(int values) {
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

Bytes CodedBlock(std::uint8_t checksum, std::int32_t length, std::int16_t count,
                 const std::vector<std::pair<char, std::uint8_t>>& table, std::string_view codeBits,
                 std::string_view dataBits) {
  Bytes block = ToBytes("HE3\r");
  block.push_back(checksum);
  for (int i = 0; i < 4; ++i) {
    block.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(length) >> (8 * i)));
  }
  block.push_back(static_cast<std::uint8_t>(count));
  block.push_back(static_cast<std::uint8_t>(static_cast<std::uint16_t>(count) >> 8));
  for (const auto& [value, bits] : table) {
    block.push_back(static_cast<std::uint8_t>(value));
    block.push_back(bits);
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

// A block or its first `byteLen` bytes (all of it when negative).
struct Row {
  const char* name;
  Bytes block;
  std::int32_t byteLen = -1;
};

void Decode(const Row& row, Bytes& block) {
  HuffmanCompression().DecodeByte(
      block, row.byteLen >= 0 ? row.byteLen : static_cast<std::int32_t>(block.size()));
}

TEST(Decode, BlocksGiveTheirData) {
  const std::pair<Row, std::string> cases[] = {
      {{"stored", ToBytes("HE0\rxyz")}, "xyz"},
      {{"bytes after the data", ToBytes(AsText(Encoded("abracadabra")) + "\xFF" + '\0')},
       "abracadabra"},
      {{"stored within byteLen", ToBytes("HE0\rxyz-and-more"), 7}, "xyz"},
      // b's code passes through a's leaf, so b can never be decoded: 0 0 gives a a.
      {{"a walk stops at the first leaf", CodedBlock(0, 2, 2, {{'a', 1}, {'b', 2}}, "001", "00")},
       "aa"},
  };
  for (const auto& [row, data] : cases) {
    Bytes block = row.block;
    Decode(row, block);
    EXPECT_EQ(AsText(block), data) << row.name;
  }
  // Many sizes and shapes, and codes longer than the lookup tables (up to 23 bits).
  for (const std::size_t size : {1u, 2u, 3u, 15u, 16u, 17u, 100u, 1000u, 4099u, 100000u}) {
    for (const auto& [alphabet, skew] : {std::pair{2, 0.0}, {256, 0.0}, {256, -1.5}, {40, 1.0}}) {
      const Bytes data = RandomBytes(size, alphabet, skew, static_cast<unsigned>(size));
      EXPECT_EQ(Decoded(Encoded(data)), data) << size << " bytes of " << alphabet;
    }
  }
  EXPECT_EQ(Decoded(Encoded(FibonacciBytes(24))), FibonacciBytes(24));
}

TEST(Decode, RefusesWhatIsNotAnIntactBlock) {
  const auto expectRefused = [](const Row& row, bool identification) {
    SCOPED_TRACE(row.name);
    Bytes block = row.block;
    try {
      Decode(row, block);
      ADD_FAILURE() << "decoded without an error";
    } catch (const HuffmanError& error) {
      EXPECT_EQ(error.Number(), -2147221504);
      EXPECT_EQ(error.Source(), identification ? "HuffmanDecode()" : "clsHuffman.Decode()");
      EXPECT_EQ(error.Description(),
                identification ? "The data either was not compressed with HE3 or is corrupt "
                                 "(identification string not found)"
                               : "The data might be corrupted (checksum did not match expected "
                                 "value)");
    }
    EXPECT_EQ(block, row.block);
  };
  std::vector<Row> rows;
  for (const char* text : {"", "H", "HE", "HE3", "HE0", "he3\r", "HE3\n", " HE3\r", "HE03\r",
                           "HE1\r", "HE4\rabcdefghijkl", "HE\xB3\rabcdefghijkl"}) {
    rows.push_back({text, ToBytes(text)});
  }
  rows.push_back({"identification beyond byteLen", Encoded("abc"), 3});
  for (const Row& row : rows) {
    expectRefused(row, true);
  }
  Bytes flippedBit = Encoded("abracadabra");
  flippedBit[23] ^= 0x01;  // the first a (0) becomes a 1: the codes drift and the XOR changes
  const std::string zeros(254, '0');
  const std::string b20 = "1" + std::string(19, '0');
  const Row corrupt[] = {
      {"wrong checksum", WithWrongChecksum(Encoded("abracadabra"))},
      {"flipped data bit", flippedBit},
      {"short header", ToBytes("HE3\r\x60\x03\x00")},
      {"empty data", AbcBlock(0, "0")},  // coded blocks never hold empty data
      {"one pair", CodedBlock(0, 1, 1, {{'a', 1}}, "0", "0")},
      {"257 pairs", CodedBlock(0, 1, 257, {{'a', 1}, {'b', 1}}, "01", "0")},
      {"negative count", CodedBlock(0, 1, -2, {{'a', 1}, {'b', 1}}, "01", "0")},
      {"table past the end", CodedBlock(0, 1, 3, {{'a', 1}, {'b', 1}}, "", "")},
      {"no code bits", Encoded("abc"), 17},
      {"codes past the end", CodedBlock('a', 1, 2, {{'a', 200}, {'b', 200}}, "0", "")},
      {"codes of no bits", CodedBlock('a', 1, 2, {{'a', 0}, {'b', 0}}, "", "0")},
      // Three codes of 255 bits that part at once: 765 nodes, though the data is a's code.
      {"more than 512 nodes",
       CodedBlock('a', 1, 3, {{'a', 255}, {'b', 255}, {'c', 255}},
                  "0" + zeros + "1" + zeros + "01" + zeros.substr(1), "0" + zeros)},
      {"data cut short", Encoded("abracadabra"), 25},
      {"b and six a, then no bits", AbcBlock(8, "1")},
      {"huge length", AbcBlock(0x7FFFFFFF, "0")},
      // Codes a = 0 and b = 10: the path 11 leads nowhere.
      {"walk to a missing child", CodedBlock('a', 2, 2, {{'a', 1}, {'b', 2}}, "010", "011")},
      {"the same past the lookup table",
       CodedBlock('a', 2, 2, {{'a', 1}, {'b', 20}}, "0" + b20,
                  "0" + b20.substr(0, 19) + "1" + std::string(40, '0'))},
  };
  for (const Row& row : corrupt) {
    expectRefused(row, false);
  }
}

// Merging: each later node strictly lighter than the heavier pick replaces it; ties keep the first.
TEST(Encode, GivesTheWorkedExampleAndCodesByTheMergingRule) {
  const Bytes workedExample = {0x48, 0x45, 0x33, 0x0D, 0x60, 0x03, 0x00, 0x00, 0x00, 0x03,
                               0x00, 0x61, 0x02, 0x62, 0x02, 0x63, 0x01, 0x0D, 0x0D};
  EXPECT_EQ(Encoded("abc"), workedExample);
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

// Data of less than two byte values is stored; packed data as long as the input is still coded.
TEST(Encode, StoresWhatHasLessThanTwoByteValuesAndCodesTheFirstByteLenBytes) {
  EXPECT_EQ(Encoded(""), ToBytes("HE0\r"));
  EXPECT_EQ(Encoded("aaaa"), ToBytes("HE0\raaaa"));
  EXPECT_EQ(HuffmanCompression().EncodeString("\u00E9\u00E9"), "HE0\r\u00E9\u00E9");
  Bytes everyValue(256);
  std::iota(everyValue.begin(), everyValue.end(), 0);
  const Bytes block = Encoded(everyValue);
  EXPECT_EQ(block.size(), 11u + 512 + 256 + 256);  // header, pairs, codes of 8 bits, data
  for (const auto& [value, code] : CodesOf(block)) {
    EXPECT_EQ(code.size(), 8u) << int{value};
  }
  Bytes array = ToBytes("abcabcabc");
  HuffmanCompression().EncodeByte(array, 3);
  EXPECT_EQ(array, Encoded("abc"));
  EXPECT_THROW(HuffmanCompression().EncodeByte(array, 20), std::out_of_range);
  EXPECT_THROW(HuffmanCompression().EncodeByte(array, -1), std::out_of_range);
  EXPECT_EQ(array, Encoded("abc"));
}

// "ab" repeated: codes a = 0 and b = 1, data from byte 16, one byte per eight input bytes.
Bytes Alternating(std::size_t size) {
  Bytes data(size, 'a');
  for (std::size_t i = 1; i < size; i += 2) {
    data[i] = 'b';
  }
  return data;
}

TEST(Progress, EachPhaseReportsAtItsSteps) {
  HuffmanCompression codec;
  Events events;
  codec.SetProgressListener([&events](std::int16_t Procent) { events.push_back(Procent); });
  const auto reported = [&](bool encoding, Bytes data) {
    events.clear();
    const auto size = static_cast<std::int32_t>(data.size());
    encoding ? codec.EncodeByte(data, size) : codec.DecodeByte(data, size);
    return events;
  };
  // The data ends with the last bit of byte 20000, then 20000 bytes that are never read.
  Bytes padded = Encoded(Alternating(8 * 19984));
  padded.resize(padded.size() + 20000, 0xFF);
  const struct {
    const char* rule;
    Events events, expected;
  } cases[] = {
      {"short data: each phase once and the end", reported(true, ToBytes("abc")), {7, 12, 100}},
      // Counting: 0.35 per 1000 bytes up to 6.65; checksum: 9.5 at byte 10000; coding: 12, 56.
      {"encoding counts every 1000 bytes and codes every 10000",
       reported(true, Alternating(20000)),
       {1, 2, 3, 4, 5, 6, 7, 10, 12, 56, 100}},
      // Counting 14000 equal bytes gives 0.5, 1.5, ... 6.5: half of them round down.
      {"values round halves to even", reported(true, Bytes(14000, 'x')), {1, 2, 3, 4, 5, 6}},
      {"stored results report only the counting", reported(true, ToBytes("aaaa")), {}},
      {"decoding long stored data", reported(false, Encoded(Bytes(25000, 'x'))), {}},
      // Byte 10000 of the block gives 22.25, 20000 none; the checksum phase adds 11 by 0.6875.
      {"the byte where the last code ends is not reported",
       reported(false, padded),
       {22, 89, 90, 91, 92, 93, 94, 95, 96, 97, 98, 99, 100}},
  };
  for (const auto& row : cases) {
    EXPECT_EQ(row.events, row.expected) << row.rule;
  }
  // Nothing ends a failed decoding; the text forms, a code page byte per character, report too.
  EXPECT_THROW(reported(false, WithWrongChecksum(Encoded(Alternating(100)))), HuffmanError);
  EXPECT_EQ(events, Events{89});
  events.clear();
  EXPECT_EQ(codec.DecodeString(codec.EncodeString("a\u4E2Db")), "a?b");
  EXPECT_EQ(events, (Events{7, 12, 100, 89, 100}));
}

// Long data, codes over 28 bits, and the kept block, which every build must give byte for byte.
TEST(Files, ComeBackThroughEncodeAndDecodeAndFailuresTouchNothing) {
  const fs::path data = PENLARK_TEST_DATA;
  const HuffmanCompression codec;
  TempDir dir;
  codec.EncodeFile(data / "conversion" / "letter.rtf", dir / "packed");
  codec.DecodeFile(data / "compression" / "letter.rtf.he3", dir / "unpacked");
  EXPECT_TRUE(
      SameBytes(*ReadFile(dir / "packed"), *ReadFile(data / "compression" / "letter.rtf.he3")));
  EXPECT_TRUE(
      SameBytes(*ReadFile(dir / "unpacked"), *ReadFile(data / "conversion" / "letter.rtf")));
  for (const Bytes& plain : {Bytes{}, RandomBytes(2'500'000, 256, -1.2, 4), FibonacciBytes(30)}) {
    WriteFile(dir / "plain", AsText(plain));
    WriteFile(dir / "unpacked", std::string(1000, '#'));  // a longer old file is replaced whole
    codec.EncodeFile(dir / "plain", dir / "packed");
    codec.DecodeFile(dir / "packed", dir / "unpacked");
    EXPECT_TRUE(SameBytes(*ReadFile(dir / "packed"), AsText(Encoded(plain))));
    EXPECT_TRUE(SameBytes(*ReadFile(dir / "unpacked"), AsText(plain)));
  }
  // A failure creates nothing and touches no destination.
  WriteFile(dir / "packed", AsText(WithWrongChecksum(Encoded("abracadabra"))));
  WriteFile(dir / "old", "old content");
  fs::create_directory(dir / "folder");
  for (const bool encoding : {true, false}) {
    try {
      encoding ? codec.EncodeFile(dir / "missing", dir / "out")
               : codec.DecodeFile(dir / "missing", dir / "out");
      ADD_FAILURE() << "no error";
    } catch (const HuffmanError& error) {
      EXPECT_EQ(error.Source(), encoding ? "clsHuffman.EncodeFile()" : "clsHuffman.DecodeFile()");
      EXPECT_EQ(error.Description(), "Source file does not exist");
    }
  }
  EXPECT_THROW(codec.DecodeFile(dir / "packed", dir / "old"), HuffmanError);
  EXPECT_EQ(ReadFile(dir / "old"), "old content");
  EXPECT_THROW(codec.EncodeFile(dir / "old", dir / "no-such-dir" / "packed"), fs::filesystem_error);
  EXPECT_THROW(codec.EncodeFile(dir / "old", dir / "folder"), fs::filesystem_error);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 5);
}

}  // namespace
}  // namespace penlark::testing

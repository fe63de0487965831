#include "compression/CodecTestSupport.h"
#include "compression/HuffmanCompression.h"
#include "compression/HuffmanError.h"

#include <gtest/gtest.h>

namespace penlark::testing {
namespace {

using Events = std::vector<int>;

// "ab" repeated: codes a = 0 and b = 1, so the data stream starts at byte 16 and takes one
// byte per eight input bytes.
Bytes Alternating(std::size_t size) {
  Bytes data(size);
  for (std::size_t i = 0; i < size; ++i) {
    data[i] = i % 2 == 0 ? 'a' : 'b';
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
      // Data bytes count by their place in the block: position 10000 gives 22.25, 20000 (44.5)
      // is not reported, nor anything after it; the checksum phase adds 11 in steps of 0.6875.
      {"the byte where the last code ends is not reported",
       reported(false, padded),
       {22, 89, 90, 91, 92, 93, 94, 95, 96, 97, 98, 99, 100}},
  };
  for (const auto& row : cases) {
    EXPECT_EQ(row.events, row.expected) << row.rule;
  }
  // Nothing ends a failed decoding, and the text forms report too.
  EXPECT_THROW(reported(false, WithWrongChecksum(Encoded(Alternating(100)))), HuffmanError);
  EXPECT_EQ(events, Events{89});
  events.clear();
  EXPECT_EQ(codec.DecodeString(codec.EncodeString("abc")), "abc");
  EXPECT_EQ(events, (Events{7, 12, 100, 89, 100}));
}

}  // namespace
}  // namespace penlark::testing

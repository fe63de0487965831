#include "compression/CodecTestSupport.h"
#include "compression/HuffmanCompression.h"
#include "compression/HuffmanError.h"

#include <gtest/gtest.h>

namespace penlark::testing {
namespace {

using Events = std::vector<int>;

class Progress : public ::testing::Test {
 protected:
  Progress() {
    codec_.SetProgressListener([this](std::int16_t Procent) { events_.push_back(Procent); });
  }

  Events Encoding(Bytes data) {
    events_.clear();
    codec_.EncodeByte(data, static_cast<std::int32_t>(data.size()));
    return events_;
  }

  Events Decoding(Bytes block) {
    events_.clear();
    codec_.DecodeByte(block, static_cast<std::int32_t>(block.size()));
    return events_;
  }

  HuffmanCompression codec_;
  Events events_;
};

// "ab" repeated: codes a = 0 and b = 1, so the data stream starts at byte 16 and takes one
// byte per eight input bytes.
Bytes Alternating(std::size_t size) {
  Bytes data(size);
  for (std::size_t i = 0; i < size; ++i) {
    data[i] = i % 2 == 0 ? 'a' : 'b';
  }
  return data;
}

// The block of `size` input bytes followed by `padding` bytes that are never read.
Bytes Padded(std::size_t size, std::size_t padding) {
  Bytes block = Encoded(Alternating(size));
  block.resize(block.size() + padding, 0xFF);
  return block;
}

TEST_F(Progress, EachPhaseReportsAtItsSteps) {
  const struct {
    const char* rule;
    Events events;
    Events expected;
  } cases[] = {
      {"short data: each phase once and the end", Encoding(ToBytes("abc")), {7, 12, 100}},
      {"and decoding", Decoding(Encoded("abc")), {89, 100}},
      // Counting: 0.35 per 1000 bytes up to 6.65; checksum: 9.5 at byte 10000; coding: 12, 56.
      {"encoding counts every 1000 bytes and codes every 10000",
       Encoding(Alternating(20000)),
       {1, 2, 3, 4, 5, 6, 7, 10, 12, 56, 100}},
      // Counting 14000 equal bytes gives 0.5, 1.5, ... 6.5: half of them round down.
      {"values round halves to even", Encoding(Bytes(14000, 'x')), {1, 2, 3, 4, 5, 6}},
      {"stored results report only the counting", Encoding(ToBytes("aaaa")), {}},
      {"empty data", Encoding(Bytes{}), {}},
      {"decoding stored data", Decoding(ToBytes("HE0\rabc")), {}},
      {"decoding long stored data", Decoding(Encoded(Bytes(25000, 'x'))), {}},
      // 20016 bytes: positions 10000 and 20000 give 44.46 and 88.93; the checksum phase adds 11
      // in steps of 0.6875 over the 160000 output bytes.
      {"decoding reports data bytes by their place in the block",
       Decoding(Padded(160000, 0)),
       {44, 89, 90, 91, 92, 93, 94, 95, 96, 97, 98, 99, 100}},
      // The data ends with the last bit of byte 20000, then 20000 unread bytes. Position 10000
      // gives 22.25, position 20000 (44.5) is not reported, nor anything after it.
      {"the byte where the last code ends is not reported",
       Decoding(Padded(8 * 19984, 20000)),
       {22, 89, 90, 91, 92, 93, 94, 95, 96, 97, 98, 99, 100}},
  };
  for (const auto& row : cases) {
    EXPECT_EQ(row.events, row.expected) << row.rule;
  }
}

TEST_F(Progress, NothingEndsAFailedDecodingAndTheTextFormsReportToo) {
  EXPECT_THROW(Decoding(WithWrongChecksum(Encoded(Alternating(100)))), HuffmanError);
  EXPECT_EQ(events_, Events{89});
  events_.clear();
  EXPECT_EQ(codec_.DecodeString(codec_.EncodeString("abc")), "abc");
  EXPECT_EQ(events_, (Events{7, 12, 100, 89, 100}));
}

}  // namespace
}  // namespace penlark::testing

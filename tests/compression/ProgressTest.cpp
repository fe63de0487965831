#include "compression/CodecTestSupport.h"
#include "compression/HuffmanCompression.h"
#include "compression/HuffmanError.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace penlark::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
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

  Events Decoding(Bytes block, std::int32_t byteLen) {
    events_.clear();
    codec_.DecodeByte(block, byteLen);
    return events_;
  }
  Events Decoding(const Bytes& block) {
    return Decoding(block, static_cast<std::int32_t>(block.size()));
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

TEST_F(Progress, ShortDataReportsEachPhaseOnceAndTheEnd) {
  EXPECT_THAT(Encoding(ToBytes("abc")), ElementsAre(7, 12, 100));
  EXPECT_THAT(Decoding(Encoded("abc")), ElementsAre(89, 100));
}

TEST_F(Progress, EncodingCountsEvery1000BytesAndCodesEvery10000) {
  // Counting: 0.35 per 1000 bytes up to 6.65; checksum: 9.5 at byte 10000; coding: 12 and 56.
  EXPECT_THAT(Encoding(Alternating(20000)), ElementsAre(1, 2, 3, 4, 5, 6, 7, 10, 12, 56, 100));
}

TEST_F(Progress, ValuesRoundHalvesToEven) {
  // Counting 14000 equal bytes gives 0.5, 1.5, ... 6.5: half of them round down.
  EXPECT_THAT(Encoding(Bytes(14000, 'x')), ElementsAre(1, 2, 3, 4, 5, 6));
}

TEST_F(Progress, StoredResultsReportOnlyTheCounting) {
  EXPECT_THAT(Encoding(ToBytes("aaaa")), IsEmpty());
  EXPECT_THAT(Encoding(Bytes{}), IsEmpty());
  EXPECT_THAT(Decoding(ToBytes("HE0\rabc")), IsEmpty());
  EXPECT_THAT(Decoding(Encoded(Bytes(25000, 'x'))), IsEmpty());
}

TEST_F(Progress, DecodingReportsDataBytesByTheirPlaceInTheWholeBlock) {
  // 20016 bytes: positions 10000 and 20000 give 44.46 and 88.93; the checksum phase adds 11
  // in steps of 0.6875 over the 160000 output bytes.
  const Bytes block = Encoded(Alternating(160000));
  ASSERT_EQ(block.size(), 20016u);
  EXPECT_THAT(Decoding(block), ElementsAre(44, 89, 90, 91, 92, 93, 94, 95, 96, 97, 98, 99, 100));
}

TEST_F(Progress, TheByteWhereTheLastCodeEndsIsNotReported) {
  // The data ends with the last bit of byte 20000; 20000 bytes more follow, unread. Position
  // 10000 gives 22.25, position 20000 (44.5) is not reported, nor anything after it.
  Bytes block = Encoded(Alternating(8 * (20000 - 16)));
  ASSERT_EQ(block.size(), 20000u);
  block.resize(40000, 0xFF);
  EXPECT_THAT(Decoding(block), ElementsAre(22, 89, 90, 91, 92, 93, 94, 95, 96, 97, 98, 99, 100));
}

TEST_F(Progress, NothingEndsAFailedDecoding) {
  EXPECT_THROW(Decoding(WithWrongChecksum(Encoded(Alternating(100)))), HuffmanError);
  EXPECT_THAT(events_, ElementsAre(89));
}

TEST_F(Progress, TheTextFormsReportToo) {
  events_.clear();
  EXPECT_EQ(codec_.DecodeString(codec_.EncodeString("abc")), "abc");
  EXPECT_THAT(events_, ElementsAre(7, 12, 100, 89, 100));
}

}  // namespace
}  // namespace penlark::testing

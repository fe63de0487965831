// RTF to the XML form and back, on files written by a real RTF writer and on every byte value.

#include "conversion/Transform.h"
#include "support/SameBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace penlark {
namespace {

using testing::ReadFile;
using testing::TempDir;

TEST(RoundTrip, RealRtfFilesComeBackByteForByte) {
  for (const char* name : {"letter.rtf", "code.rtf", "tables.rtf"}) {
    const std::string path = std::string(PENLARK_CONVERSION_DATA) + "/" + name;
    const auto original = ReadFile(path);
    ASSERT_TRUE(original.has_value()) << name;
    ASSERT_GT(original->size(), 100u);
    TempDir dir;
    ASSERT_TRUE(XmlToRtfFile(RtfFileToXml(path), (dir / "back.rtf").string()));
    EXPECT_TRUE(testing::SameBytes(*ReadFile(dir / "back.rtf"), *original)) << name;
  }
}

TEST(RoundTrip, EveryByteLegalInXmlComesBackInTextAndInTokens) {
  std::string rtf = "{\\b ";
  for (int value = 0; value < 256; ++value) {
    const char byte = static_cast<char>(value);
    if (byte == '{' || byte == '}' || byte == '\\') {
      rtf += '\\';  // escaped to stay in the text
      rtf += byte;
    } else if (value >= 0x20 || byte == '\t' || byte == '\n') {
      rtf += byte;
    }
  }
  rtf += "\\x";
  for (int value = 0x80; value < 256; ++value) {
    rtf += static_cast<char>(value);
  }
  rtf += "<>&\"'!~}";
  EXPECT_EQ(XmlToRtf(RtfToXml(rtf)).rtf, rtf);
}

}  // namespace
}  // namespace penlark

// RTF to the XML form and back, on files written by a real RTF writer and on every byte value.

#include "conversion/Transform.h"
#include "support/SameBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace penlark {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

// Line ends come back as line feeds, as XML reads them.
TEST(RoundTrip, RealRtfFilesComeBackByteForByteAndWithLineFeeds) {
  for (const char* name : {"letter.rtf", "code.rtf", "tables.rtf"}) {
    SCOPED_TRACE(name);
    const auto original = ReadFile(std::string(PENLARK_CONVERSION_DATA) + "/" + name);
    ASSERT_TRUE(original.has_value());
    ASSERT_GT(original->size(), 100u);
    std::string crlf;
    for (const char c : *original) {
      crlf += c == '\n' ? "\r\n" : std::string(1, c);
    }
    TempDir dir;
    for (const std::string& rtf : {*original, crlf}) {
      WriteFile(dir / "in.rtf", rtf);
      ASSERT_TRUE(
          XmlToRtfFile(RtfFileToXml((dir / "in.rtf").string()), (dir / "back.rtf").string()));
      EXPECT_TRUE(testing::SameBytes(*ReadFile(dir / "back.rtf"), *original));
    }
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

// RTF to the XML form and back, on files written by a real RTF writer and on every byte value.

#include "conversion/Transform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace penlark {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

std::string DataFile(std::string_view name) {
  return std::string(PENLARK_CONVERSION_DATA) + "/" + std::string(name);
}

// CR LF and lone CR as LF, as XML reads line ends.
std::string WithLineFeeds(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out.push_back('\n');
      if (i + 1 < text.size() && text[i + 1] == '\n') {
        ++i;
      }
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

class RealRtfFiles : public ::testing::TestWithParam<const char*> {};

TEST_P(RealRtfFiles, ComeBackByteForByte) {
  const std::string path = DataFile(GetParam());
  const auto original = ReadFile(path);
  ASSERT_TRUE(original.has_value()) << path;
  ASSERT_GT(original->size(), 100u);

  TempDir dir;
  const std::string back = (dir / "back.rtf").string();
  ASSERT_TRUE(XmlToRtfFile(RtfFileToXml(path), back));
  EXPECT_EQ(ReadFile(back), original);
}

TEST_P(RealRtfFiles, WithWindowsLineEndsComeBackWithLineFeeds) {
  const auto original = ReadFile(DataFile(GetParam()));
  ASSERT_TRUE(original.has_value());
  std::string crlf;
  for (const char c : *original) {
    if (c == '\n') {
      crlf.push_back('\r');
    }
    crlf.push_back(c);
  }
  TempDir dir;
  WriteFile(dir / "crlf.rtf", crlf);
  ASSERT_TRUE(XmlToRtfFile(RtfFileToXml((dir / "crlf.rtf").string()), (dir / "back.rtf").string()));
  EXPECT_EQ(ReadFile(dir / "back.rtf"), WithLineFeeds(crlf));
}

INSTANTIATE_TEST_SUITE_P(Pandoc, RealRtfFiles,
                         ::testing::Values("letter.rtf", "code.rtf", "tables.rtf"));

TEST(RoundTrip, PictureDataAndUnicodeEscapesSurvive) {
  const std::string xml = RtfFileToXml(DataFile("tables.rtf"));
  EXPECT_NE(xml.find("<C id=\"\\pngblip\"/>"), std::string::npos);
  EXPECT_NE(xml.find("<C id=\"\\u8364?\"/>"), std::string::npos);
  EXPECT_NE(xml.find("<D>89504e470d0a1a0a"), std::string::npos);
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

TEST(RoundTrip, ControlBytesThatXmlForbidsGiveTextThatDoesNotLoad) {
  for (int value = 0; value < 0x20; ++value) {
    const char byte = static_cast<char>(value);
    if (byte == '\t' || byte == '\n' || byte == '\r') {
      continue;
    }
    EXPECT_EQ(XmlToRtf(RtfToXml(std::string("{a") + byte + "}")).status,
              XmlDocumentStatus::NotLoadable)
        << value;
  }
}

}  // namespace
}  // namespace penlark

#include "compression/CodecTestSupport.h"
#include "compression/HuffmanCompression.h"
#include "compression/HuffmanError.h"
#include "platform/CodePage.h"
#include "support/SameBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace penlark::testing {
namespace {

// Every byte value once, as Windows-1252 text in UTF-8.
std::string EveryCharacter() {
  std::string ansi;
  for (int c = 0; c < 256; ++c) {
    ansi.push_back(static_cast<char>(c));
  }
  return codepage::AnsiToUtf8(ansi);
}

std::vector<std::string> Listing(const TempDir& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(Text, CompressedTextCarriesOneCharacterPerByteOfTheCodePage) {
  const HuffmanCompression codec;
  // Stored as HE0: the é (byte E9) stays one character.
  EXPECT_EQ(codec.EncodeString("\u00E9\u00E9"), "HE0\r\u00E9\u00E9");
  // The 19 bytes of abc hold NUL bytes, which the text keeps.
  EXPECT_EQ(codec.EncodeString("abc"), AsText(Encoded("abc")));
  EXPECT_EQ(codec.DecodeString(AsText(Encoded("abc"))), "abc");
}

TEST(Text, EveryCharacterOfTheCodePageAndNulComeBack) {
  const HuffmanCompression codec;
  const std::string text = EveryCharacter() + std::string(3, '\0') + "\u20AC\u0178 end";
  const std::string compressed = codec.EncodeString(text);
  EXPECT_NE(compressed.find('\0'), std::string::npos);
  EXPECT_EQ(codec.DecodeString(compressed), text);
}

TEST(Text, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  const HuffmanCompression codec;
  EXPECT_EQ(codec.DecodeString(codec.EncodeString("a\u4E2Db")), "a?b");
}

TEST(Text, TextThatIsNotCompressedIsRefused) {
  EXPECT_THROW(HuffmanCompression().DecodeString("plain words"), HuffmanError);
}

// Size and digest: big contents compare cheaply and print short.
std::pair<std::size_t, std::size_t> Fingerprint(const std::string& bytes) {
  return {bytes.size(), std::hash<std::string>()(bytes)};
}

TEST(Files, AFileComesBackThroughEncodeAndDecode) {
  // The files are written piece by piece: long data spans many pieces, coded two bytes per
  // lookup when its codes are short and one by one when some are longer than 28 bits.
  const std::vector<Bytes> cases = {RandomBytes(50000, 60, 1.0, 3),
                                    RandomBytes(2'500'000, 256, -1.2, 4), FibonacciBytes(30)};
  for (const Bytes& data : cases) {
    TempDir dir;
    WriteFile(dir / "plain", AsText(data));
    const HuffmanCompression codec;
    codec.EncodeFile(dir / "plain", dir / "packed");
    codec.DecodeFile(dir / "packed", dir / "unpacked");
    EXPECT_EQ(Fingerprint(*ReadFile(dir / "packed")), Fingerprint(AsText(Encoded(data))));
    EXPECT_EQ(Fingerprint(*ReadFile(dir / "unpacked")), Fingerprint(AsText(data)));
    EXPECT_EQ(Fingerprint(AsText(Decoded(Encoded(data)))), Fingerprint(AsText(data)));
    EXPECT_EQ(Listing(dir), (std::vector<std::string>{"packed", "plain", "unpacked"}));
  }
}

// A block kept with the sources: every build (Linux and Windows) makes it again byte for byte
// from its input and reads it back, so that files travel between them.
TEST(Files, TheStoredBlockIsMadeAgainAndReadBackByEveryBuild) {
  const std::filesystem::path data = PENLARK_TEST_DATA;
  TempDir dir;
  const HuffmanCompression codec;
  codec.EncodeFile(data / "conversion" / "letter.rtf", dir / "packed");
  codec.DecodeFile(data / "compression" / "letter.rtf.he3", dir / "unpacked");
  EXPECT_TRUE(
      SameBytes(*ReadFile(dir / "packed"), *ReadFile(data / "compression" / "letter.rtf.he3")));
  EXPECT_TRUE(
      SameBytes(*ReadFile(dir / "unpacked"), *ReadFile(data / "conversion" / "letter.rtf")));
}

TEST(Files, ALongerOldDestinationIsReplacedWhole) {
  TempDir dir;
  WriteFile(dir / "plain", "abc");
  WriteFile(dir / "packed", std::string(1000, '#'));
  HuffmanCompression().EncodeFile(dir / "plain", dir / "packed");
  EXPECT_EQ(ReadFile(dir / "packed"), AsText(Encoded("abc")));

  WriteFile(dir / "unpacked", std::string(1000, '#'));
  HuffmanCompression().DecodeFile(dir / "packed", dir / "unpacked");
  EXPECT_EQ(ReadFile(dir / "unpacked"), "abc");
}

TEST(Files, AnEmptyFileWorksEndToEnd) {
  TempDir dir;
  WriteFile(dir / "empty", "");
  const HuffmanCompression codec;
  codec.EncodeFile(dir / "empty", dir / "packed");
  EXPECT_EQ(ReadFile(dir / "packed"), "HE0\r");
  codec.DecodeFile(dir / "packed", dir / "unpacked");
  EXPECT_EQ(ReadFile(dir / "unpacked"), "");
}

TEST(Files, AMissingSourceIsReportedByTheOperationAsked) {
  TempDir dir;
  const HuffmanCompression codec;
  for (const bool encoding : {true, false}) {
    try {
      encoding ? codec.EncodeFile(dir / "missing", dir / "out")
               : codec.DecodeFile(dir / "missing", dir / "out");
      ADD_FAILURE() << "no error";
    } catch (const HuffmanError& error) {
      EXPECT_EQ(error.Number(), -2147221504);
      EXPECT_EQ(error.Source(), encoding ? "clsHuffman.EncodeFile()" : "clsHuffman.DecodeFile()");
      EXPECT_EQ(error.Description(), "Source file does not exist");
    }
  }
  EXPECT_TRUE(Listing(dir).empty());
}

TEST(Files, AFailedDecodingLeavesTheDestinationAsItWas) {
  TempDir dir;
  WriteFile(dir / "packed", AsText(WithWrongChecksum(Encoded("abracadabra"))));
  WriteFile(dir / "old", "old content");
  const HuffmanCompression codec;
  EXPECT_THROW(codec.DecodeFile(dir / "packed", dir / "old"), HuffmanError);
  EXPECT_THROW(codec.DecodeFile(dir / "packed", dir / "new"), HuffmanError);
  EXPECT_EQ(ReadFile(dir / "old"), "old content");
  EXPECT_EQ(Listing(dir), (std::vector<std::string>{"old", "packed"}));
}

TEST(Files, ADestinationThatCannotBeWrittenRaisesTheFileSystemError) {
  TempDir dir;
  WriteFile(dir / "plain", "abc");
  EXPECT_THROW(HuffmanCompression().EncodeFile(dir / "plain", dir / "no-such-dir" / "packed"),
               std::filesystem::filesystem_error);
  std::filesystem::create_directory(dir / "folder");
  EXPECT_THROW(HuffmanCompression().EncodeFile(dir / "plain", dir / "folder"),
               std::filesystem::filesystem_error);
  EXPECT_EQ(Listing(dir), (std::vector<std::string>{"folder", "plain"}));
}

}  // namespace
}  // namespace penlark::testing

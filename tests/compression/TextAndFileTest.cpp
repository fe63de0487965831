#include "compression/CodecTestSupport.h"
#include "compression/HuffmanCompression.h"
#include "compression/HuffmanError.h"
#include "platform/CodePage.h"
#include "support/SameBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace penlark::testing {
namespace {

namespace fs = std::filesystem;

TEST(Text, CompressedTextCarriesOneCharacterPerByteOfTheCodePage) {
  const HuffmanCompression codec;
  EXPECT_EQ(codec.EncodeString("\u00E9\u00E9"), "HE0\r\u00E9\u00E9");  // é stays one character
  EXPECT_EQ(codec.EncodeString("abc"), AsText(Encoded("abc")));        // NUL bytes are kept
  std::string ansi;
  for (int c = 0; c < 256; ++c) {
    ansi.push_back(static_cast<char>(c));
  }
  const std::string text = codepage::AnsiToUtf8(ansi) + "\u20AC\u0178 end";
  EXPECT_EQ(codec.DecodeString(codec.EncodeString(text)), text);
  EXPECT_EQ(codec.DecodeString(codec.EncodeString("a\u4E2Db")), "a?b");
  EXPECT_THROW(codec.DecodeString("plain words"), HuffmanError);
}

// The files are written piece by piece: long data spans many pieces, coded two bytes per lookup
// when its codes are short and one by one when some are longer than 28 bits. The block kept with
// the sources is made again byte for byte by every build (Linux and Windows) and read back, so
// that files travel between them.
TEST(Files, AFileComesBackThroughEncodeAndDecode) {
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
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 3);
}

// A missing source is reported by the operation asked; a failure creates nothing and touches no
// destination.
TEST(Files, FailuresLeaveTheFolderAsItWas) {
  TempDir dir;
  WriteFile(dir / "packed", AsText(WithWrongChecksum(Encoded("abracadabra"))));
  WriteFile(dir / "old", "old content");
  fs::create_directory(dir / "folder");
  const HuffmanCompression codec;
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
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 3);
}

}  // namespace
}  // namespace penlark::testing

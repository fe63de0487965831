#include "platform/CodePage.h"

#include <gtest/gtest.h>

namespace penlark::codepage {
namespace {

std::string AllBytes() {
  std::string bytes;
  for (int b = 0; b < 256; ++b) {
    bytes.push_back(static_cast<char>(b));
  }
  return bytes;
}

TEST(CodePage, EveryByteSurvivesARoundTripThroughUtf8) {
  const std::string bytes = AllBytes();
  EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(bytes)), bytes);
}

TEST(CodePage, HighBytesBecomeTheirWindows1252Characters) {
  EXPECT_EQ(AnsiToUtf8("\x80"), "\u20AC");
  EXPECT_EQ(AnsiToUtf8("\x85"), "\u2026");
  EXPECT_EQ(AnsiToUtf8("\x9F"), "\u0178");
  EXPECT_EQ(AnsiToUtf8("\xE9t\xE8"), "\u00E9t\u00E8");
  EXPECT_EQ(AnsiToUtf8("\xA0\xFF"), "\u00A0\u00FF");
}

TEST(CodePage, UndefinedBytesStandForTheC1ControlsOfTheirValue) {
  for (const char c : std::string_view("\x81\x8D\x8F\x90\x9D")) {
    const auto byte = static_cast<unsigned char>(c);
    EXPECT_EQ(ToUnicode(byte), char32_t{byte});
    EXPECT_EQ(FromUnicode(byte), byte);
  }
}

TEST(CodePage, OtherC1ControlsAreNotInTheCodePage) {
  EXPECT_EQ(FromUnicode(0x80), std::nullopt);
  EXPECT_EQ(FromUnicode(0x9F), std::nullopt);
  EXPECT_EQ(Utf8ToAnsi("\u0080"), "?");
}

TEST(CodePage, CharactersOutsideTheCodePageBecomeOneQuestionMarkEach) {
  EXPECT_EQ(Utf8ToAnsi("a\u0100b"), "a?b");     // Latin A with macron
  EXPECT_EQ(Utf8ToAnsi("\u4E2D\u6587"), "??");  // two CJK characters
  EXPECT_EQ(Utf8ToAnsi("\U0001F600!"), "?!");   // outside the BMP
}

TEST(CodePage, IllFormedUtf8BecomesOneQuestionMarkPerMaximalSubpart) {
  EXPECT_EQ(Utf8ToAnsi("\x80"), "?");                 // lone continuation byte
  EXPECT_EQ(Utf8ToAnsi("a\xC3"), "a?");               // truncated at the end
  EXPECT_EQ(Utf8ToAnsi("\xC3z"), "?z");               // truncated before ASCII
  EXPECT_EQ(Utf8ToAnsi("\xC0\xAF"), "??");            // overlong "/"
  EXPECT_EQ(Utf8ToAnsi("\xED\xA0\x80"), "???");       // encoded surrogate
  EXPECT_EQ(Utf8ToAnsi("\xE2\x82"), "?");             // truncated three-byte form
  EXPECT_EQ(Utf8ToAnsi("\xF4\x90\x80\x80"), "????");  // above U+10FFFF
  EXPECT_EQ(Utf8ToAnsi("\xFF\xFE"), "??");
}

TEST(CodePage, LongAsciiRunsPassThroughUnchanged) {
  const std::string text(1000, 'x');
  EXPECT_EQ(AnsiToUtf8(text + "\xE9" + text), text + "\u00E9" + text);
  EXPECT_EQ(Utf8ToAnsi(text + "\u00E9" + text), text + "\xE9" + text);
}

TEST(CodePage, InPlaceDecodingGivesWhatAnsiToUtf8Gives) {
  const std::string ascii(1000, 'x');
  for (const std::string& ansi : {std::string(), ascii, AllBytes(), AllBytes() + ascii + AllBytes(),
                                  ascii + "\x80" + ascii + "\xE9\xFF"}) {
    std::string text = ansi;
    AnsiToUtf8InPlace(text);
    EXPECT_EQ(text, AnsiToUtf8(ansi));
  }
}

TEST(CodePage, AppendingConversionAddsToWhatIsThere) {
  std::string out = "ab";
  AppendUtf8AsAnsi(out, "\u00E9\u4E2D");
  AppendUtf8AsAnsi(out, "c");
  EXPECT_EQ(out, "ab\xE9?c");
}

TEST(CodePage, NulBytesAreKept) {
  const std::string withNul("a\0b", 3);
  EXPECT_EQ(AnsiToUtf8(withNul), withNul);
  EXPECT_EQ(Utf8ToAnsi(withNul), withNul);
}

}  // namespace
}  // namespace penlark::codepage

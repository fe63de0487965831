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

// Bytes and their characters, both ways; the bytes the code page leaves undefined stand for the
// C1 controls of their value.
TEST(CodePage, BytesAreTheirWindows1252Characters) {
  const std::string ascii(1000, 'x');
  const std::pair<std::string, std::string> cases[] = {
      {"\x80", "\u20AC"},
      {"\x9F", "\u0178"},
      {"\xE9t\xE8", "\u00E9t\u00E8"},
      {"\xA0\xFF", "\u00A0\u00FF"},
      {"\x81\x8D\x8F\x90\x9D", "\u0081\u008D\u008F\u0090\u009D"},
      {std::string("a\0b", 3), std::string("a\0b", 3)},
      {ascii + "\xE9" + ascii, ascii + "\u00E9" + ascii},
  };
  for (const auto& [ansi, utf8] : cases) {
    EXPECT_EQ(AnsiToUtf8(ansi), utf8) << utf8;
    EXPECT_EQ(Utf8ToAnsi(utf8), ansi) << utf8;
  }
  EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(AllBytes())), AllBytes());
  for (const std::string& ansi : {std::string(), ascii, AllBytes() + ascii + AllBytes(),
                                  ascii + "\x80" + ascii + "\xE9\xFF"}) {
    std::string text = ansi;
    AnsiToUtf8InPlace(text);
    EXPECT_EQ(text, AnsiToUtf8(ansi));
  }
}

// Characters outside the code page, and each maximal subpart of ill-formed UTF-8.
TEST(CodePage, WhatTheCodePageLacksBecomesOneQuestionMarkEach) {
  const std::pair<std::string, std::string> cases[] = {
      {"\u0080", "?"},  // the C1 controls the code page has characters for
      {"a\u0100b", "a?b"},
      {"\u4E2D\u6587", "??"},
      {"\U0001F600!", "?!"},
      {"\x80", "?"},                 // lone continuation byte
      {"a\xC3", "a?"},               // truncated at the end
      {"\xC0\xAF", "??"},            // overlong "/"
      {"\xED\xA0\x80", "???"},       // encoded surrogate
      {"\xF4\x90\x80\x80", "????"},  // above U+10FFFF
  };
  for (const auto& [utf8, ansi] : cases) {
    EXPECT_EQ(Utf8ToAnsi(utf8), ansi) << utf8;
  }
  std::string out = "ab";
  AppendUtf8AsAnsi(out, "\u00E9\u4E2D");
  AppendUtf8AsAnsi(out, "c");
  EXPECT_EQ(out, "ab\xE9?c");
}

}  // namespace
}  // namespace penlark::codepage

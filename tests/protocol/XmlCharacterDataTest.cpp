#include "protocol/XmlCharacterData.h"

#include <gtest/gtest.h>

namespace penlark::xml {
namespace {

// References resolved, literal line ends read as line feeds, UTF-8 and lone brackets kept.
TEST(DecodeCharacterData, DecodesCharacterData) {
  const std::pair<std::string, std::string> cases[] = {
      {"a&lt;b&gt;c&amp;d&quot;e&apos;f", "a<b>c&d\"e'f"},
      {"&#65;&#x42;&#x6a;&#233;&#x1F600;&#13;", "ABj\u00E9\U0001F600\r"},
      {"&#00000065;&#x0001F600;", "A\U0001F600"},  // eight digits
      {"a\r\nb\rc\n\r\r\nd", "a\nb\nc\n\n\nd"},
      {"\t tab", "\t tab"},
      {"caf\u00E9 \u20AC \U0001F600 ] ]] ]>", "caf\u00E9 \u20AC \U0001F600 ] ]] ]>"},
      {"", ""},
  };
  for (const auto& [text, decoded] : cases) {
    EXPECT_EQ(DecodeCharacterData(text), decoded) << text;
  }
}

// Plain runs are read eight bytes at a time: every position of a word must end a run.
TEST(DecodeCharacterData, EndsPlainRunsAtEveryPositionOfAWord) {
  for (std::size_t plain = 0; plain < 18; ++plain) {
    const std::string run(plain, 'a');
    const std::string tail(9, 'z');
    SCOPED_TRACE(plain);
    EXPECT_EQ(DecodeCharacterData(run + "&amp;" + tail), run + "&" + tail);
    EXPECT_EQ(DecodeCharacterData(run + "\u00E9]\n" + tail), run + "\u00E9]\n" + tail);
    for (const char* refused : {"\x1F", "\xFF", "<", "]]>"}) {
      EXPECT_EQ(DecodeCharacterData(run + refused + tail), std::nullopt) << refused;
    }
  }
}

TEST(DecodeCharacterData, RefusesWhatIsNotCharacterData) {
  for (const char* text : {"a<b",         "a]]>b",    "&",        "&lt",        "&unknown;",
                           "&#;",         "&#x;",     "&#X41;",   "&#65a;",     "&#0;",
                           "&#1;",        "&#xD800;", "&#xFFFE;", "&#x110000;", "&#123456789;",
                           "&#65",        "a\x01z",   "\x7F\xFF", "\xC3",       "\xED\xA0\x80",
                           "\xEF\xBF\xBE"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(DecodeCharacterData(text), std::nullopt);
  }
}

TEST(IsXmlText, AcceptsXmlCharactersOnly) {
  EXPECT_TRUE(IsXmlText("plain\t\r\n caf\u00E9 \U0001F600 \x7F"));
  EXPECT_FALSE(IsXmlText(std::string("nul\0", 4)));
  EXPECT_FALSE(IsXmlText("bell\x07"));
  EXPECT_FALSE(IsXmlText("latin1 caf\xE9"));
  EXPECT_FALSE(IsXmlText("\xEF\xBF\xBF"));  // U+FFFF
}

}  // namespace
}  // namespace penlark::xml

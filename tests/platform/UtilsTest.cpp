#include "platform/Utils.h"

#include <gtest/gtest.h>

namespace penlark {
namespace {

TEST(TrimControlChars, RemovesBlanksTabsAndLineEndsAtBothEnds) {
  EXPECT_EQ(TrimControlChars(" \t\r\nhost name\r\n\t "), "host name");
  EXPECT_EQ(TrimControlChars(std::string("name\0", 5)), "name");
  EXPECT_EQ(TrimControlChars("\x01\x1Fx\x7F"), "x\x7F");  // DEL is above 32
}

TEST(TrimControlChars, KeepsControlCharactersInside) {
  EXPECT_EQ(TrimControlChars(" a\tb\nc "), "a\tb\nc");
}

TEST(TrimControlChars, GivesEmptyForBlankInput) {
  EXPECT_EQ(TrimControlChars(""), "");
  EXPECT_EQ(TrimControlChars(" \t \t"), "");
}

TEST(TrimControlChars, KeepsNonAsciiLettersAtTheEnds) {
  EXPECT_EQ(TrimControlChars(" \u00E9t\u00E9 "), "\u00E9t\u00E9");
}

TEST(CollapseRepeats, WithABlankGivesWordsSeparatedBySingleBlanks) {
  EXPECT_EQ(CollapseRepeats("  my   new  folder ", " "), "my new folder");
  EXPECT_EQ(CollapseRepeats("single", " "), "single");
  EXPECT_EQ(CollapseRepeats("   ", " "), "");
  EXPECT_EQ(CollapseRepeats("", " "), "");
}

TEST(CollapseRepeats, WithAHyphenShrinksHyphenRunsTrimsBlanksAndKeepsInnerBlanks) {
  EXPECT_EQ(CollapseRepeats("  a---b  c--d -- ", "-"), "a-b  c-d -");
  EXPECT_EQ(CollapseRepeats("--x--", "-"), "-x-");
}

TEST(CollapseRepeats, TrimsOnlyBlanksNotTabs) {
  EXPECT_EQ(CollapseRepeats("\t a  b \t", " "), "\t a b \t");
}

TEST(CollapseRepeats, ComparesExactly) {
  EXPECT_EQ(CollapseRepeats("aAaa", "a"), "aAa");
  EXPECT_EQ(CollapseRepeats("\u00E9\u00E9x\u00E9", "\u00E9"), "\u00E9x\u00E9");
}

TEST(GetEndpointURL, BareNameGetsSchemeAndRouterPath) {
  EXPECT_EQ(GetEndpointURL("docs.example.com"), "http://docs.example.com/servlet/XMLSOAPRouter");
  EXPECT_EQ(GetEndpointURL("127.0.0.1:8080"), "http://127.0.0.1:8080/servlet/XMLSOAPRouter");
}

TEST(GetEndpointURL, BareNameEndingInSlashKeepsBothSlashes) {
  EXPECT_EQ(GetEndpointURL("host/"), "http://host//servlet/XMLSOAPRouter");
}

TEST(GetEndpointURL, HttpNameGetsTheRouterPathByTheTrailingSlashRule) {
  EXPECT_EQ(GetEndpointURL("http://host/"), "http://host/servlet/XMLSOAPRouter");
  EXPECT_EQ(GetEndpointURL("http://host"), "http://host/servlet/XMLSOAPRouter");
  EXPECT_EQ(GetEndpointURL("http://host/tarnwell/"), "http://host/tarnwell/servlet/XMLSOAPRouter");
}

TEST(GetEndpointURL, HttpsKeepsItsScheme) {
  EXPECT_EQ(GetEndpointURL("https://host"), "https://host/servlet/XMLSOAPRouter");
  EXPECT_EQ(GetEndpointURL("https://host/"), "https://host/servlet/XMLSOAPRouter");
}

TEST(GetEndpointURL, SchemeIsRecognisedInAnyLetterCase) {
  EXPECT_EQ(GetEndpointURL("HTTP://host"), "HTTP://host/servlet/XMLSOAPRouter");
  EXPECT_EQ(GetEndpointURL("Https://host/"), "Https://host/servlet/XMLSOAPRouter");
}

TEST(GetEndpointURL, IgnoresBlanksTabsAndLineBreaksAround) {
  EXPECT_EQ(GetEndpointURL(" \thost\r\n"), "http://host/servlet/XMLSOAPRouter");
  EXPECT_EQ(GetEndpointURL("\n http://host/ \t"), "http://host/servlet/XMLSOAPRouter");
}

TEST(GetEndpointURL, EmptyServerStillGivesAUrl) {
  EXPECT_EQ(GetEndpointURL(""), "http:///servlet/XMLSOAPRouter");
}

}  // namespace
}  // namespace penlark

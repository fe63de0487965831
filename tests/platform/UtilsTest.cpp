#include "platform/Identity.h"
#include "platform/Utils.h"

#include <utility>

#include <gtest/gtest.h>

namespace penlark {
namespace {

TEST(TrimControlChars, TrimsCodesUpToBlankAtBothEndsOnly) {
  const std::pair<std::string, std::string> cases[] = {
      {" \t\r\nhost name\r\n\t ", "host name"},
      {std::string("name\0", 5), "name"},
      {"\x01\x1Fx\x7F", "x\x7F"},  // DEL is above 32
      {" a\tb\nc ", "a\tb\nc"},
      {" \t \t", ""},
      {" \u00E9t\u00E9 ", "\u00E9t\u00E9"},
  };
  for (const auto& [text, trimmed] : cases) {
    EXPECT_EQ(TrimControlChars(text), trimmed) << text;
  }
}

// Runs of the repeated text shrink to one; blanks, and only blanks, are trimmed at the ends.
TEST(CollapseRepeats, ShrinksRunsOfTheTextAndTrimsBlanks) {
  const struct {
    std::string text, repeated, collapsed;
  } cases[] = {
      {"  my   new  folder ", " ", "my new folder"},
      {"   ", " ", ""},
      {"  a---b  c--d -- ", "-", "a-b  c-d -"},
      {"--x--", "-", "-x-"},
      {"\t a  b \t", " ", "\t a b \t"},
      {"aAaa", "a", "aAa"},
      {"\u00E9\u00E9x\u00E9", "\u00E9", "\u00E9x\u00E9"},
  };
  for (const auto& row : cases) {
    EXPECT_EQ(CollapseRepeats(row.text, row.repeated), row.collapsed) << row.text;
  }
}

// A bare name gets the scheme; an http or https name (in any letter case) keeps its own; the
// router path follows a "/" that the name ends in only when it has a scheme.
TEST(GetEndpointURL, AddsTheSchemeAndTheRouterPath) {
  const std::pair<std::string, std::string> cases[] = {
      {"docs.example.com", "http://docs.example.com/servlet/XMLSOAPRouter"},
      {"host/", "http://host//servlet/XMLSOAPRouter"},
      {"http://host/", "http://host/servlet/XMLSOAPRouter"},
      {"http://host", "http://host/servlet/XMLSOAPRouter"},
      {"http://host/tarnwell/", "http://host/tarnwell/servlet/XMLSOAPRouter"},
      {"https://host/", "https://host/servlet/XMLSOAPRouter"},
      {"HTTP://host", "HTTP://host/servlet/XMLSOAPRouter"},
      {"Https://host/", "Https://host/servlet/XMLSOAPRouter"},
      {"\n http://host/ \t", "http://host/servlet/XMLSOAPRouter"},
      {"", "http:///servlet/XMLSOAPRouter"},
  };
  for (const auto& [server, url] : cases) {
    EXPECT_EQ(GetEndpointURL(server), url) << server;
  }
}

TEST(Identity, TheComputerNameIsTheShortHostName) {
  const std::pair<std::string, std::string> cases[] = {{"desk7", "desk7"},
                                                       {"desk7.corp.example.com", "desk7"},
                                                       {" desk7 .lan", "desk7"},
                                                       {".lan", ""}};
  for (const auto& [host, computer] : cases) {
    EXPECT_EQ(ComputerNameOf(host), computer) << host;
  }
  EXPECT_EQ(CurrentComputerName().find('.'), std::string::npos);
}

}  // namespace
}  // namespace penlark

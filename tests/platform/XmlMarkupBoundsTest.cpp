#include "platform/XmlMarkupBounds.h"

#include <string>

#include <gtest/gtest.h>

namespace penlark {
namespace {

std::string Element(int attributes, std::string_view name = "a") {
  std::string element = "<e";
  for (int i = 0; i < attributes; ++i) {
    element += " " + std::string(name) + std::to_string(i) + "='v'";
  }
  return element + "/>";
}

// Markup in comments, CDATA sections, instructions and quoted values is not taken for tags;
// what the bounds refuse is refused wherever it stands.
TEST(XmlMarkupBounds, CountsOnlyRealAttributesAndRefusesWhatExceeds) {
  const std::string declarations = Element(20, "xmlns:p");
  const std::string spread = "<r>" + declarations + declarations + declarations + "<e xmlns='u'/>";
  struct Case {
    std::string text;
    bool within;
  };
  for (const Case& c : std::vector<Case>{
           {"<?xml version='1.0'?><r a=\"x>y\" b='\"'>t > u</r>", true},
           {"<r><!-- <e " + Element(40).substr(2) + " --></r>", true},
           {"<r><![CDATA[" + Element(40) + "]]></r>", true},
           {"<?pi " + Element(40) + "?><r/>", true},
           {Element(32), true},
           {Element(33), false},
           {"<r>" + Element(32) + Element(32) + "</r>", true},
           {"<r><e " + std::string(40, ' ') + Element(33).substr(2), false},
           {spread + "</r>", true},  // 61 namespace declarations in one text
           {spread + declarations + "</r>", false},
           {"<!DOCTYPE r><r/>", false},
           {"<r a='<'/>", false},
           {"<r a='1' <e " + Element(40).substr(2) + "</r>", false},
           {"<r", true},  // unfinished text is left to the parser
       }) {
    EXPECT_EQ(XmlMarkupWithinBounds(c.text), c.within) << c.text.substr(0, 60);
  }
}

}  // namespace
}  // namespace penlark

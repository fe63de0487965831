#include "protocol/TarnwellRequests.h"

#include <gtest/gtest.h>

namespace penlark::requests {
namespace {

TEST(Requests, TypesAreWrittenAsPlainDecimals) {
  EXPECT_NE(Delete("/", "n", -7, "u", "p").find(R"( type="-7" )"), std::string::npos);
  EXPECT_NE(GetContent("/", "n", 32767, "u", "p").find(R"( type="32767" )"), std::string::npos);
}

TEST(Requests, ValuesAreEscapedAsAttributeValues) {
  EXPECT_EQ(
      GetFiles("/a&b", "<ann>", "p\"w\tx\ny\rz"),
      R"(<getFiles dir="/a&amp;b" username="&lt;ann&gt;" password="p&quot;w&#9;x&#10;y&#13;z" vid="2.0" />)");
}

TEST(Requests, NonAsciiLettersAreWrittenAsTheyAre) {
  EXPECT_EQ(GetFiles("/r\u00E9sum\u00E9s", "J\u00FCrgen", "\u00E6\u00F8\u00E5"),
            "<getFiles dir=\"/r\u00E9sum\u00E9s\" username=\"J\u00FCrgen\" "
            "password=\"\u00E6\u00F8\u00E5\" vid=\"2.0\" />");
}

}  // namespace
}  // namespace penlark::requests

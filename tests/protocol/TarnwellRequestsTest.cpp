#include "protocol/TarnwellRequests.h"

#include <gtest/gtest.h>

namespace penlark::requests {
namespace {

TEST(Requests, GetFilesListsItsAttributesInOrderWithVid) {
  EXPECT_EQ(GetFiles("/", "ann", "secret"),
            R"(<getFiles dir="/" username="ann" password="secret" vid="2.0" />)");
}

TEST(Requests, EntryRequestsCarryVersionAndTheirType) {
  EXPECT_EQ(
      Delete("/a", "b.xml", 2, "ann", "pw"),
      R"(<delete dir="/a" name="b.xml" type="2" username="ann" password="pw" version="2.0" />)");
  EXPECT_EQ(GetContent("/", "r", 2, "u", ""),
            R"(<getContent dir="/" name="r" type="2" username="u" password="" version="2.0" />)");
  EXPECT_EQ(SaveFile("/", "r", "u", "p"),
            R"(<saveFile dir="/" name="r" type="2" username="u" password="p" version="2.0" />)");
}

TEST(Requests, CreateFolderEndsWithTwoSpaces) {
  EXPECT_EQ(
      CreateFolder("/", "new", 1, "u", "p"),
      R"(<createFolder dir="/" name="new" type="1" username="u" password="p" version="2.0"  />)");
}

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

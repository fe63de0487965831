#include "protocol/TarnwellInterface.h"
#include "support/ScriptedPrompts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace penlark {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class ParseFileListTest : public ::testing::Test {
 protected:
  testing::ScriptedPrompts prompts;
  TarnwellInterface tarnwell{prompts, {}};

  void ExpectListing(std::vector<std::string> names, std::vector<std::int16_t> types,
                     std::vector<std::int16_t> access) {
    EXPECT_EQ(tarnwell.FileNames(), names);
    EXPECT_EQ(tarnwell.FileTypes(), types);
    EXPECT_EQ(tarnwell.FileAccess(), access);
  }
};

// Every child of "files" is an entry in document order, with its name, type and access, and
// the defaults "", 0 and 0 for what it lacks.
TEST_F(ParseFileListTest, ListsTheEntriesInDocumentOrder) {
  const struct {
    std::string reply;
    std::vector<std::string> names;
    std::vector<std::int16_t> types;
    std::vector<std::int16_t> access;
  } cases[] = {
      {R"(<files>
         <file name="reports" type="1" access="3"/>
         <doc access="1" type="2" name="b.xml"/>
         <x name="a.xml" type="2" access="7" extra="ignored"/>
       </files>)",
       {"reports", "b.xml", "a.xml"},
       {1, 2, 2},
       {3, 1, 7}},
      {R"(<files><f name="untyped"/><f type="1"/></files>)", {"untyped", ""}, {0, 1}, {0, 0}},
      {R"(<files>junk<f name="a" type="1"/><!-- c --><![CDATA[x]]></files>)",
       {"", "a", "", ""},
       {0, 1, 0, 0},
       {0, 0, 0, 0}},
      {"<files><f name=\"a &amp; &lt;b&gt; &quot;c&quot; &#233;t&#xE9;\" type=\"2\"/></files>",
       {"a & <b> \"c\" \u00E9t\u00E9"},
       {2},
       {0}},
      {R"(<files><f type="-32768" access="32767"/><f type=" +12 " access="-0"/></files>)",
       {"", ""},
       {-32768, 12},
       {32767, 0}},
      {R"(<files xmlns:p="urn:p"><f p:name="x" p:type="abc" name="y"/></files>)", {"y"}, {0}, {0}},
      {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><files><f name=\"\u00E9\"/></files>",
       {"\u00E9"},
       {0},
       {0}},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.reply);
    tarnwell.ParseFileList(row.reply);
    ExpectListing(row.names, row.types, row.access);
    EXPECT_EQ(tarnwell.LastListingRead(), ListingRead::Entries);
  }
  EXPECT_EQ(tarnwell.GetFileType("\u00E9"), 0);
}

TEST_F(ParseFileListTest, FilesWithoutChildrenEmptiesTheListing) {
  tarnwell.ParseFileList(R"(<files><f name="a" type="2"/></files>)");
  tarnwell.ParseFileList("<files/>");
  ExpectListing({}, {}, {});
  EXPECT_FALSE(tarnwell.FileExists("a"));
  EXPECT_EQ(tarnwell.GetFileType("a"), 0);
  EXPECT_EQ(tarnwell.LastListingRead(), ListingRead::Emptied);

  tarnwell.ParseFileList("<files>\n  \t\n</files>");  // whitespace is not an entry
  ExpectListing({}, {}, {});
}

TEST_F(ParseFileListTest, AnotherRootLeavesTheListing) {
  tarnwell.ParseFileList(R"(<files><f name="a" type="1" access="3"/></files>)");
  tarnwell.ParseFileList(R"(<error message="denied"><f name="b"/></error>)");
  ExpectListing({"a"}, {1}, {3});
  EXPECT_EQ(tarnwell.LastListingRead(), ListingRead::OtherRoot);

  tarnwell.ParseFileList(R"(<Files><f name="b"/></Files>)");  // names compare exactly
  tarnwell.ParseFileList(R"(<p:files xmlns:p="urn:p"><f name="b"/></p:files>)");
  ExpectListing({"a"}, {1}, {3});
}

TEST_F(ParseFileListTest, NotXmlLeavesOneEmptyEntry) {
  tarnwell.ParseFileList(R"(<files><f name="a"/><f name="b"/></files>)");
  tarnwell.ParseFileList("Internal error");
  ExpectListing({""}, {0}, {0});
  EXPECT_EQ(tarnwell.LastListingRead(), ListingRead::Unreadable);

  tarnwell.ParseFileList("<files><f name='a'></files>");
  ExpectListing({""}, {0}, {0});
}

TEST_F(ParseFileListTest, BadNumberThrowsAndKeepsTheEntriesBeforeIt) {
  EXPECT_THROW(tarnwell.ParseFileList(
                   R"(<files><f name="a" type="1"/><f name="b" type="abc"/><f name="c"/></files>)"),
               ListingError);
  ExpectListing({"a", "b", ""}, {1, 0, 0}, {0, 0, 0});

  for (const char* bad : {"32768", "-32769", "", "1.5", "0x1", "1 2", "--1"}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(
        tarnwell.ParseFileList(std::string(R"(<files><f access=")") + bad + R"("/></files>)"),
        ListingError);
  }
}

TEST_F(ParseFileListTest, GetFileTypeGivesTheFirstOfTwoEqualNames) {
  tarnwell.ParseFileList(R"(<files><f name="same" type="1"/><f name="same" type="2"/></files>)");
  EXPECT_EQ(tarnwell.GetFileType("same"), 1);
}

TEST_F(ParseFileListTest, NamesCompareExactly) {
  tarnwell.ParseFileList(R"(<files><f name="report" type="2"/></files>)");
  EXPECT_TRUE(tarnwell.FileExists("report"));
  EXPECT_FALSE(tarnwell.FileExists("Report"));
  EXPECT_FALSE(tarnwell.FileExists("report "));
  EXPECT_EQ(tarnwell.GetFileType("Report"), 0);
}

TEST_F(ParseFileListTest, NoListingBeforeTheFirstReply) {
  ExpectListing({}, {}, {});
  EXPECT_FALSE(tarnwell.FileExists(""));
  EXPECT_EQ(tarnwell.LastListingRead(), ListingRead::None);
  EXPECT_EQ(tarnwell.ServerConnector(), nullptr);
  EXPECT_THAT(prompts.Messages(), IsEmpty());
}

}  // namespace
}  // namespace penlark

#include "protocol/FileListing.h"

#include <gtest/gtest.h>

namespace penlark {
namespace {

// The listing as "name:type:access" entries separated by blanks.
std::string Describe(const FileListing& listing) {
  std::string entries;
  for (std::size_t i = 0; i < listing.Names().size(); ++i) {
    entries += (i == 0 ? "" : " ") + listing.Names()[i] + ":" +
               std::to_string(listing.Types().at(i)) + ":" + std::to_string(listing.Access().at(i));
  }
  return entries;
}

// Each reply read after a listing of "a:1:3". Every child of "files" is an entry in document
// order, with the defaults "", 0 and 0 for what it lacks; "files" without entries empties the
// listing, another root leaves it, and what is not XML leaves one entry with an empty name.
TEST(FileListing, ReadsAReplyIntoTheListing) {
  const struct {
    std::string reply;
    ListingRead read;
    std::string entries;
  } cases[] = {
      {R"(<files>
           <file name="reports" type="1" access="3"/>
           <doc access="1" type="2" name="b.xml"/>
           <x name="a.xml" type="2" access="7" extra="ignored"/>
         </files>)",
       ListingRead::Entries, "reports:1:3 b.xml:2:1 a.xml:2:7"},
      {R"(<files><f name="untyped"/><f type="1"/></files>)", ListingRead::Entries,
       "untyped:0:0 :1:0"},
      {R"(<files>junk<f name="a" type="1"/><!-- c --><![CDATA[x]]></files>)", ListingRead::Entries,
       ":0:0 a:1:0 :0:0 :0:0"},
      {R"(<files><f name="&amp; &lt;b&gt; &quot;c&quot; &#233;t&#xE9;" type="2"/></files>)",
       ListingRead::Entries, "& <b> \"c\" \u00E9t\u00E9:2:0"},
      {R"(<files><f type="-32768" access="32767"/><f type=" +12 " access="-0"/></files>)",
       ListingRead::Entries, ":-32768:32767 :12:0"},
      {R"(<files xmlns:p="urn:p"><f p:name="x" p:type="abc" name="y"/></files>)",
       ListingRead::Entries, "y:0:0"},
      // The reply is UTF-8 text whatever its declaration says.
      {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><files><f name=\"\u00E9\"/></files>",
       ListingRead::Entries, "\u00E9:0:0"},
      {"<files/>", ListingRead::Emptied, ""},
      {R"(<error message="denied"><f name="b"/></error>)", ListingRead::OtherRoot, "a:1:3"},
      {R"(<p:files xmlns:p="urn:p"><f name="b"/></p:files>)", ListingRead::OtherRoot, "a:1:3"},
      {"Internal error", ListingRead::Unreadable, ":0:0"},
      {"<files><f name='a'></files>", ListingRead::Unreadable, ":0:0"},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.reply);
    FileListing listing;
    listing.Parse(R"(<files><f name="a" type="1" access="3"/></files>)");
    listing.Parse(row.reply);
    EXPECT_EQ(listing.LastRead(), row.read);
    EXPECT_EQ(Describe(listing), row.entries);
  }
}

// A bad number throws and keeps the entries before it. The first entry of exactly the name
// asked for is found.
TEST(FileListing, ThrowsOnABadNumberAndLooksUpNames) {
  FileListing listing;
  EXPECT_EQ(listing.LastRead(), ListingRead::None);
  EXPECT_THROW(listing.Parse(
                   R"(<files><f name="a" type="1"/><f name="b" type="abc"/><f name="c"/></files>)"),
               ListingError);
  EXPECT_EQ(Describe(listing), "a:1:0 b:0:0 :0:0");
  for (const char* bad : {"32768", "-32769", "", "1.5", "0x1", "1 2", "--1"}) {
    EXPECT_THROW(listing.Parse(std::string(R"(<files><f access=")") + bad + R"("/></files>)"),
                 ListingError)
        << bad;
  }
  listing.Parse(R"(<files><f name="same" type="1"/><f name="same" type="2"/></files>)");
  EXPECT_EQ(listing.TypeOf("same"), 1);
  EXPECT_TRUE(listing.Contains("same"));
  for (const char* other : {"Same", "same ", "missing"}) {
    EXPECT_FALSE(listing.Contains(other)) << other;
    EXPECT_EQ(listing.TypeOf(other), 0) << other;
  }
}

}  // namespace
}  // namespace penlark

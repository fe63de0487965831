#include "protocol/FileListing.h"
#include "protocol/TarnwellInterface.h"
#include "protocol/TarnwellRequests.h"
#include "support/SameBytes.h"
#include "support/ScriptedPrompts.h"
#include "support/TestServer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace penlark {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A login with letters that need escaping in XML, and some that are not ASCII.
const std::string kUser = "J\u00FCrgen & <Ann> \"Q\" O'Neil";
const std::string kPassword = "p&ss<w>rd\"\u00E6\u00F8\u00E5\u20AC\ttab";

class TarnwellInterfaceTest : public ::testing::Test {
 protected:
  testing::TestServer server{{{kUser, kPassword}}};
  testing::ScriptedPrompts prompts;
  std::string serverField = server.ServerText();
  int serverFieldReads = 0;
  int folderComboEmptied = 0;
  TarnwellInterface tarnwell{prompts,
                             {.serverText = [this] { return ++serverFieldReads, serverField; },
                              .onRequestFailure = [this] { ++folderComboEmptied; }}};

  std::string List(const std::string& dir) { return tarnwell.RequestFiles(dir, kUser, kPassword); }
};

// Every request reads the server field afresh and goes through the Connector made for the first.
TEST_F(TarnwellInterfaceTest, EachRequestIsCarriedOutByTheServer) {
  serverField = "  http://" + server.ServerText() + "/ \t";
  EXPECT_EQ(tarnwell.ServerConnector(), nullptr);
  const std::string folder = "/F\u00E4cher & 'Quotes'";
  const std::string document = "R\u00E9sum\u00E9 & [1] final.xml";
  std::string content = "<doc>\r\n";
  while (content.size() < 1'000'000) {
    content +=
        "<p>caf\u00E9 &amp; \u20AC]]&gt; \"q\"</p>\r\r\n\t<![CDATA[<raw> & ]]]]><![CDATA[>]]>\n";
  }
  EXPECT_EQ(tarnwell.RequestCreateFolder("/", folder.substr(1), 1, kUser, kPassword), "<ok/>");
  const Connector* connector = tarnwell.ServerConnector();
  EXPECT_TRUE(server.HasFolder(folder));
  EXPECT_EQ(tarnwell.RequestSaveFile(folder, document, content, kUser, kPassword), "<ok/>");
  EXPECT_TRUE(testing::SameBytes(server.Document(folder + "/" + document).value_or(""), content));
  EXPECT_TRUE(
      testing::SameBytes(tarnwell.RequestContent(folder, document, 2, kUser, kPassword), content));
  EXPECT_NE(List(folder), "");
  EXPECT_THAT(tarnwell.FileNames(), ElementsAre(document));
  EXPECT_EQ(tarnwell.ListedFolder(), folder);
  EXPECT_EQ(tarnwell.RequestDelete(folder, document, 2, kUser, kPassword), "<ok/>");
  EXPECT_EQ(tarnwell.RequestDelete("/", folder.substr(1), 1, kUser, kPassword), "<ok/>");
  EXPECT_FALSE(server.HasEntry(folder));
  EXPECT_THAT(prompts.Messages(), IsEmpty());
  EXPECT_EQ(serverFieldReads, 6);
  EXPECT_NE(connector, nullptr);
  EXPECT_EQ(tarnwell.ServerConnector(), connector);
}

// A bad number in a listing shows the last error text (empty before any) and empties the folder
// combo; other failures leave the entries, and the Connector alone shows their message.
TEST_F(TarnwellInterfaceTest, ARequestThatListsNothingLeavesTheListing) {
  server.ReplyWithText(R"(<files><f type="abc"/></files>)");
  EXPECT_EQ(List("/"), "");
  server.InjectFault("earlier fault");
  List("/");
  server.ReplyWithText(R"(<files><f name="a" type="1"/><f name="b" type="abc"/></files>)");
  EXPECT_EQ(List("/"), "");
  EXPECT_THAT(tarnwell.FileNames(), ElementsAre("a", "b"));
  EXPECT_EQ(tarnwell.ListedFolder(), std::nullopt);

  server.Behave();
  server.AddFolder("/kept");
  List("/");
  EXPECT_EQ(tarnwell.ListedFolder(), "/");
  EXPECT_EQ(tarnwell.RequestFiles("/", kUser, "wrong"), "");
  server.ReplyWithText("<error>denied</error>");
  EXPECT_EQ(List("/"), "<error>denied</error>");
  EXPECT_EQ(tarnwell.ListedFolder(), std::nullopt);
  server.Stop();
  EXPECT_EQ(List("/"), "");
  EXPECT_THAT(tarnwell.FileNames(), ElementsAre("kept"));
  EXPECT_THAT(prompts.MessageTexts(),
              ElementsAre("", "earlier fault", "earlier fault",
                          "Login failed: unknown user name or wrong password.",
                          "Error: Connection to Tarnwell Server failed. The Server could be down. "
                          "Try Later..."));
  EXPECT_EQ(folderComboEmptied, 2);

  testing::ScriptedPrompts otherPrompts;
  TarnwellInterface withoutHooks(otherPrompts, {.serverText = [this] { return serverField; }});
  EXPECT_EQ(withoutHooks.RequestFiles("/", kUser, kPassword), "");
  EXPECT_EQ(otherPrompts.Messages().size(), 1u);
}

TEST(Requests, AreWrittenByteForByte) {
  const std::pair<std::string, std::string> cases[] = {
      {requests::GetFiles("/", "ann", "secret"),
       R"(<getFiles dir="/" username="ann" password="secret" vid="2.0" />)"},
      {requests::GetContent("/f", "d.xml", 2, "ann", "secret"),
       R"(<getContent dir="/f" name="d.xml" type="2" username="ann" password="secret" version="2.0" />)"},
      {requests::CreateFolder("/f", "new", 1, "ann", "secret"),
       R"(<createFolder dir="/f" name="new" type="1" username="ann" password="secret" version="2.0"  />)"},
      {requests::SaveFile("/f", "e.xml", "ann", "secret"),
       R"(<saveFile dir="/f" name="e.xml" type="2" username="ann" password="secret" version="2.0" />)"},
      {requests::Delete("/f", "new", -7, "ann", "secret"),
       R"(<delete dir="/f" name="new" type="-7" username="ann" password="secret" version="2.0" />)"},
      {requests::GetFiles("/a&b", "<ann>", "p\"w\tx\ny\rz"),
       R"(<getFiles dir="/a&amp;b" username="&lt;ann&gt;" password="p&quot;w&#9;x&#10;y&#13;z" vid="2.0" />)"},
      {requests::GetFiles("/r\u00E9sum\u00E9s", "J\u00FCrgen", "\u00E6\u00F8\u00E5"),
       "<getFiles dir=\"/r\u00E9sum\u00E9s\" username=\"J\u00FCrgen\" "
       "password=\"\u00E6\u00F8\u00E5\" vid=\"2.0\" />"},
  };
  for (const auto& [request, expected] : cases) {
    EXPECT_EQ(request, expected);
  }
}

// The listing as "name:type:access" entries separated by blanks.
std::string Describe(const FileListing& listing) {
  std::string entries;
  for (std::size_t i = 0; i < listing.Names().size(); ++i) {
    entries += (i == 0 ? "" : " ") + listing.Names()[i] + ":" +
               std::to_string(listing.Types().at(i)) + ":" + std::to_string(listing.Access().at(i));
  }
  return entries;
}

// Each reply read after a listing of "a:1:3".
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

// A bad number throws and keeps the entries before it.
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

#include "protocol/TarnwellInterface.h"
#include "support/SameBytes.h"
#include "support/ScriptedPrompts.h"
#include "support/TestServer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace penlark {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::SameBytes;

// Letters that need escaping in XML, and some that are not ASCII.
const std::string kAwkwardUser = "J\u00FCrgen & <Ann> \"Q\" O'Neil";
const std::string kAwkwardPassword = "p&ss<w>rd\"\u00E6\u00F8\u00E5\u20AC\ttab";

class TarnwellInterfaceTest : public ::testing::Test {
 protected:
  testing::TestServer server{{{"ann", "secret"}, {kAwkwardUser, kAwkwardPassword}}};
  testing::ScriptedPrompts prompts;
  std::string serverField = server.ServerText();
  int serverFieldReads = 0;
  int folderComboEmptied = 0;
  TarnwellInterface tarnwell{prompts,
                             {.serverText =
                                  [this] {
                                    ++serverFieldReads;
                                    return serverField;
                                  },
                              .onRequestFailure = [this] { ++folderComboEmptied; }},
                             {.stallTimeout = std::chrono::seconds(1)}};

  std::string List(const std::string& dir) { return tarnwell.RequestFiles(dir, "ann", "secret"); }
};

TEST_F(TarnwellInterfaceTest, ListsAFolderIntoTheListing) {
  server.AddDocument("/b.xml", "<doc/>");
  server.AddDocument("/a.xml", "<doc/>");
  server.AddFolder("/reports");
  EXPECT_NE(List("/"), "");
  EXPECT_EQ(server.LastRequest(),
            R"(<getFiles dir="/" username="ann" password="secret" vid="2.0" />)");
  EXPECT_THAT(tarnwell.FileNames(), ElementsAre("reports", "a.xml", "b.xml"));
  EXPECT_THAT(tarnwell.FileTypes(), ElementsAre(1, 2, 2));
  EXPECT_THAT(tarnwell.FileAccess(), ElementsAre(3, 3, 3));
  EXPECT_EQ(tarnwell.GetFileType("reports"), 1);
  EXPECT_THAT(prompts.Messages(), IsEmpty());
}

TEST_F(TarnwellInterfaceTest, SendsEachRequestElementAsWritten) {
  server.AddFolder("/f");
  server.AddDocument("/f/d.xml", "<doc/>");
  tarnwell.RequestContent("/f", "d.xml", 2, "ann", "secret");
  EXPECT_EQ(
      server.LastRequest(),
      R"(<getContent dir="/f" name="d.xml" type="2" username="ann" password="secret" version="2.0" />)");
  tarnwell.RequestCreateFolder("/f", "new", 1, "ann", "secret");
  EXPECT_EQ(
      server.LastRequest(),
      R"(<createFolder dir="/f" name="new" type="1" username="ann" password="secret" version="2.0"  />)");
  tarnwell.RequestSaveFile("/f", "e.xml", "<e/>", "ann", "secret");
  EXPECT_EQ(
      server.LastRequest(),
      R"(<saveFile dir="/f" name="e.xml" type="2" username="ann" password="secret" version="2.0" />)");
  tarnwell.RequestDelete("/f", "new", 1, "ann", "secret");
  EXPECT_EQ(
      server.LastRequest(),
      R"(<delete dir="/f" name="new" type="1" username="ann" password="secret" version="2.0" />)");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(requests[0].content, std::nullopt);
  EXPECT_EQ(requests[2].content, "<e/>");
  EXPECT_EQ(requests[3].content, std::nullopt);
}

TEST_F(TarnwellInterfaceTest, AwkwardNamesAndPasswordsArriveUnchanged) {
  const std::string folder = "F\u00E4cher & <\"Quotes\">";
  const std::string document = "R\u00E9sum\u00E9 & <1> \"final\".xml";
  EXPECT_NE(tarnwell.RequestCreateFolder("/", folder, 1, kAwkwardUser, kAwkwardPassword), "");
  EXPECT_NE(
      tarnwell.RequestSaveFile("/" + folder, document, "<doc/>", kAwkwardUser, kAwkwardPassword),
      "");
  EXPECT_EQ(server.Document("/" + folder + "/" + document), "<doc/>");

  EXPECT_NE(tarnwell.RequestFiles("/" + folder, kAwkwardUser, kAwkwardPassword), "");
  EXPECT_THAT(tarnwell.FileNames(), ElementsAre(document));
  EXPECT_THAT(prompts.Messages(), IsEmpty());
}

TEST_F(TarnwellInterfaceTest, DocumentsRoundTripByteForByte) {
  const std::string content =
      "<doc>\r\n<p>caf\u00E9 &amp; cr\u00E8me</p>\r\r\n\t<![CDATA[<raw> & "
      "]]]]><![CDATA[>]]>\n</doc>";
  EXPECT_NE(tarnwell.RequestSaveFile("/", "d.xml", content, "ann", "secret"), "");
  EXPECT_EQ(server.Document("/d.xml"), content);
  EXPECT_EQ(tarnwell.RequestContent("/", "d.xml", 2, "ann", "secret"), content);
}

TEST_F(TarnwellInterfaceTest, LargeDocumentsRoundTripByteForByte) {
  std::string content = "<doc>\r\n";
  while (content.size() < 1'000'000) {
    content += "<p s=\"1\">caf\u00E9 &amp; \u20AC]]&gt; \"q\"</p>\r\n\r\t\n";
  }
  EXPECT_NE(tarnwell.RequestSaveFile("/", "big.xml", content, "ann", "secret"), "");
  EXPECT_TRUE(SameBytes(server.Document("/big.xml").value_or(""), content));
  EXPECT_TRUE(SameBytes(tarnwell.RequestContent("/", "big.xml", 2, "ann", "secret"), content));
}

TEST_F(TarnwellInterfaceTest, FolderOperationsChangeTheServer) {
  EXPECT_NE(tarnwell.RequestCreateFolder("/", "new", 1, "ann", "secret"), "");
  EXPECT_TRUE(server.HasFolder("/new"));
  EXPECT_NE(tarnwell.RequestDelete("/", "new", 1, "ann", "secret"), "");
  EXPECT_FALSE(server.HasEntry("/new"));
}

TEST_F(TarnwellInterfaceTest, TakesTheEndpointFromTheServerFieldForEveryRequest) {
  List("/");
  List("/");
  EXPECT_EQ(serverFieldReads, 2);

  serverField = "  http://" + server.ServerText() + "/ \t";  // trimmed, scheme kept
  EXPECT_NE(List("/"), "");
  EXPECT_EQ(server.Requests().size(), 3u);
}

TEST_F(TarnwellInterfaceTest, CreatesTheConnectorOnTheFirstRequestAndKeepsIt) {
  EXPECT_EQ(tarnwell.ServerConnector(), nullptr);
  List("/");
  const Connector* first = tarnwell.ServerConnector();
  ASSERT_NE(first, nullptr);
  List("/");
  EXPECT_EQ(tarnwell.ServerConnector(), first);
}

TEST_F(TarnwellInterfaceTest, FaultGivesEmptyAndLeavesTheListing) {
  server.AddFolder("/kept");
  List("/");
  EXPECT_EQ(tarnwell.RequestFiles("/", "ann", "wrong"), "");
  EXPECT_THAT(tarnwell.FileNames(), ElementsAre("kept"));
  EXPECT_THAT(prompts.MessageTexts(),
              ElementsAre("Login failed: unknown user name or wrong password."));
  EXPECT_EQ(tarnwell.ServerConnector()->ErrorMsg(),
            "Login failed: unknown user name or wrong password.");
  EXPECT_EQ(folderComboEmptied, 0);
}

TEST_F(TarnwellInterfaceTest, UnreachableServerGivesEmptyAndLeavesTheListing) {
  server.AddFolder("/kept");
  List("/");
  server.Stop();
  EXPECT_EQ(List("/"), "");
  EXPECT_THAT(tarnwell.FileNames(), ElementsAre("kept"));
  EXPECT_EQ(tarnwell.ServerConnector()->ErrorMsg(), "ERROR 9991: Connection to Tarnwell failed.");
  EXPECT_EQ(folderComboEmptied, 0);
}

TEST_F(TarnwellInterfaceTest, ListingRepliesFromTheServer) {
  server.ReplyWithText(
      R"(<files><a name="one" type="1" access="3"/><b name="two"/><c name="three" type="2"/></files>)");
  List("/");
  EXPECT_THAT(tarnwell.FileNames(), ElementsAre("one", "two", "three"));
  EXPECT_THAT(tarnwell.FileTypes(), ElementsAre(1, 0, 2));

  server.ReplyWithText("<error>denied</error>");
  EXPECT_EQ(List("/"), "<error>denied</error>");
  EXPECT_THAT(tarnwell.FileNames(), ElementsAre("one", "two", "three"));

  server.ReplyWithText("<files/>");
  List("/");
  EXPECT_THAT(tarnwell.FileNames(), IsEmpty());

  server.ReplyWithText("not a listing");
  EXPECT_EQ(List("/"), "not a listing");
  EXPECT_THAT(tarnwell.FileNames(), ElementsAre(""));
  EXPECT_THAT(tarnwell.FileTypes(), ElementsAre(0));
  EXPECT_THAT(prompts.Messages(), IsEmpty());
}

TEST_F(TarnwellInterfaceTest, BadNumberInAListingRunsTheFailurePath) {
  server.InjectFault("earlier fault");
  List("/");
  server.ReplyWithText(R"(<files><f name="a" type="1"/><f name="b" type="abc"/></files>)");
  EXPECT_EQ(List("/"), "");
  EXPECT_THAT(prompts.MessageTexts(), ElementsAre("earlier fault", "earlier fault"));
  EXPECT_EQ(folderComboEmptied, 1);
  EXPECT_THAT(tarnwell.FileNames(), ElementsAre("a", "b"));
}

TEST_F(TarnwellInterfaceTest, FailurePathShowsAnEmptyLastErrorBeforeAnyFailure) {
  server.ReplyWithText(R"(<files><f type="abc"/></files>)");
  EXPECT_EQ(List("/"), "");
  EXPECT_THAT(prompts.Messages(), ElementsAre(Message{.text = ""}));
  EXPECT_EQ(folderComboEmptied, 1);
}

TEST_F(TarnwellInterfaceTest, FailurePathWithoutHooksStillShowsTheMessage) {
  testing::ScriptedPrompts otherPrompts;
  TarnwellInterface bare(otherPrompts, {.serverText = [this] { return server.ServerText(); }});
  server.ReplyWithText(R"(<files><f type="99999"/></files>)");
  EXPECT_EQ(bare.RequestFiles("/", "ann", "secret"), "");
  EXPECT_EQ(otherPrompts.Messages().size(), 1u);
}

TEST_F(TarnwellInterfaceTest, CurrentFileAndDirAreLeftToTheCaller) {
  tarnwell.CurrentFile = "report.xml";
  tarnwell.CurrentDir = "/reports";
  List("/");
  EXPECT_EQ(tarnwell.CurrentFile, "report.xml");
  EXPECT_EQ(tarnwell.CurrentDir, "/reports");
}

}  // namespace
}  // namespace penlark

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

// One exchange of each request with the reference server: names beyond ASCII, awkward logins and
// a large document arrive unchanged and each reply is what the server did. Every request reads the
// server field afresh (trimmed, its scheme kept) and goes through the Connector made for the first
// one.
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

// A bad number in a listing shows the last error text (empty before any), then empties the
// folder combo; the entries before it stay. A fault, a failed exchange or a reply of another root
// gives no listing of the folder and leaves the entries; the Connector alone shows the message.
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

// Each request element byte for byte: attribute order, version attribute, the ending, values
// escaped as attribute values and non-ASCII letters written as they are.
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
      {requests::GetContent("/", "n", 32767, "u", "p"),
       R"(<getContent dir="/" name="n" type="32767" username="u" password="p" version="2.0" />)"},
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

}  // namespace
}  // namespace penlark

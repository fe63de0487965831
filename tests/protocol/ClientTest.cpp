#include "HttpsEndpoint.h"
#include "platform/CodePage.h"
#include "protocol/ConnectionUtils.h"
#include "protocol/Connector.h"
#include "protocol/Encryption.h"
#include "protocol/FileListing.h"
#include "protocol/SoapEnvelope.h"
#include "protocol/TarnwellInterface.h"
#include "protocol/TarnwellRequests.h"
#include "protocol/XmlCharacterData.h"
#include "support/SameBytes.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "support/TestServer.h"

#include <functional>
#include <optional>
#include <tuple>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace penlark::soap {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::ReadFile;
using testing::WriteFile;
using ComboChange = ConnectionHistory::ComboChange;
using Server = testing::TestServer;

std::string Envelope(std::string_view bodyContent) {
  return R"(<?xml version="1.0"?><e:Envelope xmlns:e="http://schemas.xmlsoap.org/soap/envelope/">)"
         "<e:Body>" +
         std::string(bodyContent) + "</e:Body></e:Envelope>";
}

std::string WithAttributes(int count) {
  std::string element = "<r";
  for (int i = 0; i < count; ++i) {
    element += " a" + std::to_string(i) + "=\"\"";
  }
  return element + "><return/></r>";
}

std::string Utf16(std::string_view latin1) {
  std::string utf16 = "\xFF\xFE";
  for (const char c : latin1) {
    utf16 += std::string{c, '\0'};
  }
  return utf16;
}

void ExpectReply(const Reply& actual, const Reply& expected) {
  EXPECT_EQ(std::tie(actual.wellFormed, actual.fault, actual.result),
            std::tie(expected.wellFormed, expected.fault, expected.result));
}

// Markup that would cost the parser time in the square of its size is refused in any encoding.
TEST(ReadReply, GivesTheReturnTextOrTheFault) {
  const std::optional<std::string> none;
  const std::pair<std::string, Reply> cases[] = {
      {Envelope(
           R"(<m:r xmlns:m="urn:x"><return xsi:type="xsd:string">&lt;files/&gt;</return></m:r>)"),
       {true, none, "<files/>"}},
      {Envelope("<r><return>one</return><x><return>two</return></x></r>"), {true, none, "onetwo"}},
      {Envelope(
           R"(<r xmlns:p="urn:p"><p:return>a</p:return><Return>b</Return><return>c</return></r>)"),
       {true, none, "c"}},
      {Envelope("<r><return>a&#xD;&#13;b&#233;<![CDATA[<c>&amp;]]></return></r>"),
       {true, none, "a\r\rb\u00E9<c>&amp;"}},
      {Envelope("<e:Fault><faultcode>e:Server</faultcode><faultstring>x &amp; y</faultstring>"
                "</e:Fault>"),
       {true, "x & y", ""}},
      {Envelope("<e:Fault><faultcode>e:Server</faultcode></e:Fault>"), {true, "", ""}},
      {Envelope(R"(<Fault xmlns="urn:other"><faultstring>x</faultstring></Fault>)"),
       {true, none, ""}},
      {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r><return>caf\xE9</return></r>",
       {true, none, "caf\u00E9"}},
      {Utf16("<r><return>\xE9</return></r>"), {true, none, "\u00E9"}},
      {"", {}},
      // Document type declarations are refused: entities could blow the reply up.
      {"<!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;\">]>"
       "<r><return>&b;</return></r>",
       {}},
      {WithAttributes(50'000), {}},
      {Utf16(WithAttributes(50'000)), {}},
      {std::string(R"(<?xml version="1.0" encoding="SHIFT_JIS"?><r>)") + std::string(8, '\0') +
           "\xFF\xFE\x80\x80",
       {}},
  };
  ::testing::internal::CaptureStderr();  // nothing is said there, about a broken encoding either
  for (const auto& [body, reply] : cases) {
    SCOPED_TRACE(body.substr(0, 100));
    ExpectReply(ReadReply(body), reply);
  }
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

// Around a text of 100 kB the fast way gives what the parser gives, or leaves it to the parser.
TEST(ReadLargeReply, FastWayGivesWhatTheParserGivesOrLeavesItToTheParser) {
  std::string text;
  while (text.size() < 100'000) {
    text += "&lt;p a=&quot;1&quot;&gt;caf\u00E9 &amp; \u20AC\r\n&#13;line\rnext]]&gt;&lt;/p&gt;\n";
  }
  const struct {
    std::string before, after;
    bool fast;
    std::string encoding = "utf-8";
  } cases[] = {
      {R"(<return xsi:type="xsd:string">)", "</return>", true},
      {R"(<return a='>' b=">">)", "</return><return>second</return>", true},
      {"<e:Fault><faultstring>fault: <return>", "</return></faultstring></e:Fault>", true},
      {"<!-- <return>", "</return> --><return>real</return>", false},
      {"<returned>", "</returned>", false},
      {"<p:return xmlns:p='urn:p'>", "</p:return>", false},
      {"<return>", "caf\xE9</return>", false, "ISO-8859-1"},
      // The marker the fast way puts in place of the text cannot be mistaken for it.
      {"<return>", "</return><return>penlark-result-text-0 &#112;enlark-result-text-1</return>",
       false},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.before);
    const std::string body = R"(<?xml version="1.0" encoding=")" + row.encoding + R"("?>)" +
                             R"(<e:Envelope xmlns:e="http://schemas.xmlsoap.org/soap/envelope/">)"
                             R"(<e:Body><m:r xmlns:m="urn:m">)" +
                             row.before + text + row.after + "</m:r></e:Body></e:Envelope>";
    const Reply parsed = ReadReplyWithParser(body);
    const std::optional<Reply> fast = ReadReplyFast(body);
    ASSERT_EQ(fast.has_value(), row.fast);
    if (fast) {
      ExpectReply(*fast, parsed);
      EXPECT_GT(parsed.result.size() + parsed.fault.value_or("").size(), 50'000u);
    }
    ExpectReply(ReadReply(body), parsed);
  }
}

// References resolved, literal line ends read as line feeds, UTF-8 and lone brackets kept.
TEST(DecodeCharacterData, DecodesCharacterDataAndRefusesWhatIsNot) {
  const std::pair<std::string, std::string> cases[] = {
      {"a&lt;b&gt;c&amp;d&quot;e&apos;f", "a<b>c&d\"e'f"},
      {"&#65;&#x42;&#x6a;&#233;&#x1F600;&#13;", "ABj\u00E9\U0001F600\r"},
      {"&#00000065;&#x0001F600;", "A\U0001F600"},  // eight digits
      {"a\r\nb\rc\n\r\r\nd", "a\nb\nc\n\n\nd"},
      {"\t tab", "\t tab"},
      {"caf\u00E9 \u20AC \U0001F600 ] ]] ]>", "caf\u00E9 \u20AC \U0001F600 ] ]] ]>"},
      {"", ""},
  };
  for (const auto& [text, decoded] : cases) {
    EXPECT_EQ(xml::DecodeCharacterData(text), decoded) << text;
  }
  // Plain runs are read eight bytes at a time: every position of a word must end a run.
  for (std::size_t plain = 0; plain < 18; ++plain) {
    const std::string run(plain, 'a');
    const std::string tail(9, 'z');
    SCOPED_TRACE(plain);
    EXPECT_EQ(xml::DecodeCharacterData(run + "&amp;" + tail), run + "&" + tail);
    EXPECT_EQ(xml::DecodeCharacterData(run + "\u00E9]\n" + tail), run + "\u00E9]\n" + tail);
    for (const char* refused : {"\x1F", "\xFF", "<", "]]>"}) {
      EXPECT_EQ(xml::DecodeCharacterData(run + refused + tail), std::nullopt) << refused;
    }
  }
  for (const char* text : {"a<b",         "a]]>b",    "&",        "&lt",        "&unknown;",
                           "&#;",         "&#x;",     "&#X41;",   "&#65a;",     "&#0;",
                           "&#1;",        "&#xD800;", "&#xFFFE;", "&#x110000;", "&#123456789;",
                           "&#65",        "a\x01z",   "\x7F\xFF", "\xC3",       "\xED\xA0\x80",
                           "\xEF\xBF\xBE"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(xml::DecodeCharacterData(text), std::nullopt);
  }
}

// Written out by hand: the bytes a server receives for the listing of "/".
constexpr std::string_view kGoldenEnvelope =
    R"(<?xml version="1.0" encoding="UTF-8"?>)"
    R"(<SOAP-ENV:Envelope xmlns:SOAP-ENV="http://schemas.xmlsoap.org/soap/envelope/")"
    R"( SOAP-ENV:encodingStyle="http://schemas.xmlsoap.org/soap/encoding/")"
    R"( xmlns:xsi="http://www.w3.org/1999/XMLSchema-instance")"
    R"( xmlns:SOAP-ENC="http://schemas.xmlsoap.org/soap/encoding/")"
    R"( xmlns:xsd="http://www.w3.org/1999/XMLSchema">)"
    R"(<SOAP-ENV:Body><method:sendRequest xmlns:method="urn:xmladmin-request">)"
    R"(<ns1 xsi:type="xsd:string">&lt;getFiles dir="/" username="ann" password="secret")"
    R"( vid="2.0" /&gt;</ns1>)"
    R"(</method:sendRequest></SOAP-ENV:Body></SOAP-ENV:Envelope>)";

const std::string kFailure = "ERROR 9991: Connection to Tarnwell failed.";
const TransportLimits kShortLimits{.connectTimeout = std::chrono::seconds(5),
                                   .stallTimeout = std::chrono::seconds(1)};

void ExpectExchange(const std::string& endpoint, const TransportLimits& limits,
                    const std::string& request, const std::string& result,
                    const std::string& error) {
  testing::ScriptedPrompts prompts;
  Connector connector(prompts, limits);
  EXPECT_EQ(connector.SendRequest(endpoint, request), result);
  EXPECT_EQ(connector.ErrorMsg(), error);
  std::vector<Message> shown;
  if (error == kFailure) {
    shown.push_back({.text = "Error: Connection to Tarnwell Server failed. The Server could be "
                             "down. Try Later...",
                     .icon = MessageIcon::Exclamation});
  } else if (!error.empty()) {
    shown.push_back({.text = error});
  }
  EXPECT_THAT(prompts.Messages(), ::testing::ElementsAreArray(shown));
}

TEST(Connector, SendsTheGoldenEnvelope) {
  Server server;
  server.AddFolder("/reports");
  ExpectExchange(server.Endpoint(), kShortLimits,
                 R"(<getFiles dir="/" username="ann" password="secret" vid="2.0" />)",
                 R"(<files><file name="reports" type="1" access="3"/></files>)", "");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].body, kGoldenEnvelope);
  EXPECT_EQ(requests[0].soapAction, "\"urn:xmladmin-request#sendRequest\"");
  EXPECT_EQ(requests[0].contentType, "text/xml; charset=utf-8");
  EXPECT_EQ(requests[0].content, std::nullopt);
}

TEST(ConnectorContract, EachExchangeGivesItsResultAndLastError) {
  const auto replying = [](std::string body) {
    return [body](Server& server) { server.ReplyWithBody(body); };
  };
  const auto nothing = [](Server&) {};
  const struct {
    std::string_view name;
    std::function<void(Server&)> arrange;
    std::string error;
    std::function<std::string(const Server&)> endpoint;  // the server's own when empty
  } cases[] = {
      {"fault, read from a reply with an error status",
       [](Server& server) { server.InjectFault("x"); }, "x"},
      {"no return element", replying(Envelope("<r/>")), ""},
      {"a body that is not XML", replying("<html><body>Proxy error"), kFailure},
      {"a port nothing listens on", [](Server& server) { server.Stop(); }, kFailure},
      {"a server that stops answering",
       [](Server& server) { server.DelayAnswers(std::chrono::minutes(5)); }, kFailure},
      {"a dropped connection", [](Server& server) { server.DropConnections(); }, kFailure},
      {"a path the server does not serve", nothing, kFailure,
       [](const Server& server) { return "http://" + server.ServerText() + "/elsewhere"; }},
      {"a scheme other than http and https", nothing, kFailure,
       [](const Server&) { return std::string("file:///etc/hostname"); }},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    Server server;
    row.arrange(server);
    ExpectExchange(row.endpoint ? row.endpoint(server) : server.Endpoint(), kShortLimits, "r", "",
                   row.error);
  }
}

#if defined(CPPHTTPLIB_OPENSSL_SUPPORT) || defined(_WIN32)
TEST(ConnectorTls, HttpsWorksWithATrustedCertificateOnly) {
  for (const bool trusted : {true, false}) {
    SCOPED_TRACE(trusted);
    const auto endpoint = testing::StartHttpsEndpoint(Envelope("<return>secure</return>"), trusted);
    ExpectExchange(endpoint.url, endpoint.limits, "r", trusted ? "secure" : "",
                   trusted ? "" : kFailure);
  }
}
#endif

// A login with letters that need escaping in XML, and some that are not ASCII.
const std::string kUser = "J\u00FCrgen & <Ann> \"Q\" O'Neil";
const std::string kPassword = "p&ss<w>rd\"\u00E6\u00F8\u00E5\u20AC\ttab";

const std::string kHeader = HistoryHeader("ann", "DESK7");

// A history file holding `plain` as SaveHistory would write it (or under another cipher).
std::string HistoryFileBytes(std::string_view plain,
                             std::string_view cipherPassword = kHistoryCipherPassword) {
  return codepage::Utf8ToAnsi(Encryption::EncryptText(plain, cipherPassword)) + "\r\n";
}

// The entries, most recent first, as "server/user/password" separated by blanks.
std::string Entries(const ConnectionHistory& history) {
  std::string entries;
  for (std::size_t i = 0; i < history.Count(); ++i) {
    entries += (i == 0 ? "" : " ") + history.HistoryServer(i) + "/" + history.HistoryUser(i) + "/" +
               history.HistoryPassword(i);
  }
  return entries;
}

class ClientTest : public ::testing::Test {
 protected:
  testing::TestServer server{{{kUser, kPassword}}};
  testing::ScriptedPrompts prompts;
  std::string serverField = server.ServerText();
  int serverFieldReads = 0;
  int folderComboEmptied = 0;
  TarnwellInterface tarnwell{prompts,
                             {.serverText = [this] { return ++serverFieldReads, serverField; },
                              .onRequestFailure = [this] { ++folderComboEmptied; }}};

  testing::TempDir dir;
  ConnectionHistory history;
  const fs::path file = dir / "history.ann";

  std::string List(const std::string& folder) {
    return tarnwell.RequestFiles(folder, kUser, kPassword);
  }
};

// Every request reads the server field afresh and goes through the Connector made for the first.
TEST_F(ClientTest, EachRequestIsCarriedOutByTheServer) {
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

// A bad number shows the last error and empties the folder combo; other failures keep the entries.
TEST_F(ClientTest, ARequestThatListsNothingLeavesTheListing) {
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

TEST_F(ClientTest, HistorySavesTheExampleFileByteForByteAndLoadsItBack) {
  history.UpdateHistory("beta", "ann", "Pa55word");
  history.UpdateHistory("alpha", "ann", "");
  history.SaveHistory(file, kHeader);
  // "ann.DESK7", CR LF, "alpha", TAB, "ann", TAB, CR LF, "beta", TAB, "ann", TAB, "Pa55word",
  // CR LF (42 characters) encrypted under GLIMMER42, then CR LF.
  EXPECT_EQ(ReadFile(file),
            "\xad\xb7\xbb\x7b\x89\x97\x87\x7d\x7e\x59\x53\xae\xb9\xb5\xba\x95\x3b\xa8\xba\xb7\x56"
            "\x5a\x4f\xb4\x99\xa6\xa8\x55\xaa\xbb\xbb\x4e\xa2\x95\x67\x7c\xc3\xb8\xbf\xb1\x52\x5c"
            "\r\n");
#ifndef _WIN32  // Windows keeps no permission bits
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
#endif
  ConnectionHistory loaded;
  ASSERT_TRUE(loaded.LoadHistory(file, kHeader, prompts));
  EXPECT_EQ(Entries(loaded), "alpha/ann/ beta/ann/Pa55word");
  EXPECT_THAT(loaded.ComboItems(), ElementsAre("alpha              ann", "beta              ann"));
  EXPECT_EQ(loaded.HistoryServer(2) + loaded.HistoryUser(2) + loaded.HistoryPassword(2), "");
}

// A load replaces the entries held, which stay when the file holds none or is not this user's.
TEST_F(ClientTest, HistoryLoadsTheEntriesUpToTheFirstBrokenLine) {
  const std::string foreign = HistoryHeader("\u0410\u043D\u043D\u0430", "\u041F\u041A7");
  const struct {
    std::string fileBytes, entries;  // "kept/ann/" when the load fails
    bool corrupt = false;
    std::string header = kHeader;
  } cases[] = {
      {HistoryFileBytes("ann.DESK7\r\na\tu\r\nb\tv\tpw\tmore\textra\r\n"), "a/u/ b/v/pw"},
      {HistoryFileBytes("ann.DESK7\r\na\tann\t\r\nbroken\r\nb\tann\tpw\r\n"), "a/ann/"},
      {HistoryFileBytes("ann.DESK7\r\na\tann\t\r\nb\tann\tpw"), "a/ann/"},
      {"", "kept/ann/"},
      {HistoryFileBytes("ann.DESK7\r\n"), "kept/ann/"},
      {HistoryFileBytes("ann.DESK7\r\nb\tann\tpw\r\n", "other"), "kept/ann/"},
      {HistoryFileBytes("bob.DESK7\r\nb\tbob\tpw\r\n"), "kept/ann/", true},
      {HistoryFileBytes("????.??7\r\ns\tu\t\r\n"), "s/u/", false, foreign},
      {HistoryFileBytes("????.??7\r\ns\tu\t\r\n"), "kept/ann/", true,
       HistoryHeader("\u0410\u043D\u043D\u0430", "PK7")},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.fileBytes);
    testing::ScriptedPrompts rowPrompts;
    ConnectionHistory held;
    held.UpdateHistory("kept", "ann", "");
    WriteFile(file, row.fileBytes);
    EXPECT_EQ(held.LoadHistory(file, row.header, rowPrompts), row.entries != "kept/ann/");
    EXPECT_EQ(Entries(held), row.entries);
    EXPECT_EQ(rowPrompts.MessageTexts().size(), row.corrupt ? 1u : 0u);
  }
  history.UpdateHistory("kept", "ann", "");
  EXPECT_FALSE(history.LoadHistory(dir / "missing", kHeader, prompts));
  history.SaveHistory(file, foreign);
  EXPECT_EQ(ReadFile(file), HistoryFileBytes("????.??7\r\nkept\tann\t\r\n"));
}

// A file that cannot be read is reported once, and saved over only once it reads again.
TEST_F(ClientTest, HistorySavesOverThePreviousFileOrNotAtAll) {
  history.SaveHistory(file, kHeader);
  EXPECT_FALSE(fs::exists(file));
  WriteFile(file, "previous contents that are longer than the new ones, much longer");
  history.UpdateHistory("s", "u", "");
  history.SaveHistory(file, kHeader);
  EXPECT_EQ(ReadFile(file), HistoryFileBytes("ann.DESK7\r\ns\tu\t\r\n"));
  const fs::path folder = dir / "folder";  // reading fails, and the rename cannot replace it
  fs::create_directory(folder);
  WriteFile(folder / "inside", "kept");
  EXPECT_FALSE(history.LoadHistory(folder, kHeader, prompts));
  EXPECT_FALSE(history.LoadHistory(folder, kHeader, prompts));
  history.SaveHistory(folder, kHeader);
  EXPECT_EQ(ReadFile(folder / "inside"), "kept");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 2);
  EXPECT_THAT(prompts.Messages(),
              ElementsAre(Message{.text = "The history file " + folder.string() +
                                          " cannot be read; it is left as it is.",
                                  .icon = MessageIcon::Exclamation}));
  fs::remove_all(folder);
  WriteFile(folder, "");
  EXPECT_FALSE(history.LoadHistory(folder, kHeader, prompts));
  history.SaveHistory(folder, kHeader);
  EXPECT_EQ(ReadFile(folder), ReadFile(file));
}

TEST_F(ClientTest, EachLoginComesFirstInTheHistory) {
  const struct {
    std::string server, user, password;
    ComboChange change;
    std::string entries;
  } logins[] = {
      {"s", "u", "", ComboChange::InsertServerAtFront, "s/u/"},
      {"t", "u", "pw", ComboChange::InsertServerAtFront, "t/u/pw s/u/"},
      {"t", "u", "", ComboChange::None, "t/u/ s/u/"},
      {"c", "u", "", ComboChange::InsertServerAtFront, "c/u/ t/u/ s/u/"},
      {"s", "u", "new", ComboChange::Rebuild, "s/u/new c/u/ t/u/"},
      {"s", "U", "", ComboChange::InsertServerAtFront, "s/U/ s/u/new c/u/ t/u/"},
      {"s ", "U", "", ComboChange::InsertServerAtFront, "s /U/ s/U/ s/u/new c/u/ t/u/"},
      {"c\tx", "u", "", ComboChange::NotRecorded, "s /U/ s/U/ s/u/new c/u/ t/u/"},
      {"c", "u", "p\r\n", ComboChange::NotRecorded, "s /U/ s/U/ s/u/new c/u/ t/u/"},
  };
  for (const auto& login : logins) {
    SCOPED_TRACE(login.server + "/" + login.user + "/" + login.password);
    EXPECT_EQ(history.UpdateHistory(login.server, login.user, login.password), login.change);
    EXPECT_EQ(Entries(history), login.entries);
  }
  history.MoveHistoryToFront(3);
  history.MoveHistoryToFront(5);  // no such entry
  EXPECT_EQ(Entries(history), "c/u/ s /U/ s/U/ s/u/new t/u/");
}

std::string Bytes(std::initializer_list<unsigned char> bytes) {
  return codepage::AnsiToUtf8(std::string(bytes.begin(), bytes.end()));
}

TEST(Encryption, ShiftsEachCodeByThePasswordsCharactersInTurn) {
  const struct {
    std::string text, password, secret;
    const char* rule;
  } cases[] = {
      {"plain \u4E2D", "", "plain \u4E2D", "an empty password leaves the text as it is"},
      {"ABC", "a", Bytes({130, 131, 132}), "one character, upper-cased (65), shifts every code"},
      {"x", "\u00E9\u00E9", Bytes({0x41}), "letters beyond ASCII are upper-cased too (0xC9)"},
      {std::string(6, '\0'), "xyz", Bytes({89, 90, 88, 89, 90, 88}),
       "the first character takes the password's second"},
      {Bytes({250}), "\n", Bytes({4}), "sums wrap around eight bits"},
      {Bytes({249}), "\n", Bytes({3}), "differences wrap around eight bits"},
  };
  for (const auto& row : cases) {
    EXPECT_EQ(Encryption::EncryptText(row.text, row.password), row.secret) << row.rule;
    EXPECT_EQ(Encryption::DecryptText(row.secret, row.password), row.text) << row.rule;
  }
}

}  // namespace
}  // namespace penlark::soap

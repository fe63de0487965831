#include "HttpsEndpoint.h"
#include "protocol/Connector.h"
#include "protocol/SoapEnvelope.h"
#include "protocol/XmlCharacterData.h"
#include "support/ScriptedPrompts.h"
#include "support/TestServer.h"

#include <functional>
#include <optional>
#include <tuple>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace penlark::soap {
namespace {

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
TEST(DecodeCharacterData, DecodesCharacterData) {
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
}

// Plain runs are read eight bytes at a time: every position of a word must end a run.
TEST(DecodeCharacterData, RefusesWhatIsNotCharacterDataAtEveryPositionOfAWord) {
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

}  // namespace
}  // namespace penlark::soap

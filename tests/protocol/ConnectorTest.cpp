// The transport's contract, run against the one this build has (libcurl, or WinHTTP on Windows)
// and the reference server on loopback.
#include "protocol/Connector.h"
#include "support/ScriptedPrompts.h"
#include "support/TestServer.h"

#include <functional>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <httplib.h>

namespace penlark {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

constexpr std::string_view kListRoot =
    R"(<getFiles dir="/" username="ann" password="secret" vid="2.0" />)";

// Written out by hand: the bytes a server receives for that request.
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

const Message kFailureMessage{
    .text = "Error: Connection to Tarnwell Server failed. The Server could be down. Try Later...",
    .icon = MessageIcon::Exclamation};
constexpr std::string_view kFailureError = "ERROR 9991: Connection to Tarnwell failed.";

std::string ReplyBody(std::string_view bodyContent) {
  return std::string(
             R"(<?xml version="1.0"?><e:Envelope xmlns:e="http://schemas.xmlsoap.org/soap/envelope/"><e:Body>)") +
         std::string(bodyContent) + "</e:Body></e:Envelope>";
}

TransportLimits ShortLimits() {
  return {.connectTimeout = std::chrono::seconds(5), .stallTimeout = std::chrono::seconds(1)};
}

class ConnectorTest : public ::testing::Test {
 protected:
  testing::TestServer server;
  testing::ScriptedPrompts prompts;
  Connector connector{prompts, ShortLimits()};

  std::string Send(const std::string& request, const std::string& content = {}) {
    return connector.SendRequest(server.Endpoint(), request, content);
  }
};

TEST_F(ConnectorTest, SendsTheGoldenEnvelopeWithTheSoapHeaders) {
  server.AddFolder("/reports");
  EXPECT_EQ(Send(std::string(kListRoot)),
            R"(<files><file name="reports" type="1" access="3"/></files>)");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].body, kGoldenEnvelope);
  EXPECT_EQ(requests[0].soapAction, "\"urn:xmladmin-request#sendRequest\"");
  EXPECT_EQ(requests[0].contentType, "text/xml; charset=utf-8");
  EXPECT_THAT(prompts.Messages(), IsEmpty());
  EXPECT_EQ(connector.ErrorMsg(), "");
}

TEST_F(ConnectorTest, TextArrivesUnchangedBothWaysWithOneOrTwoParameters) {
  const std::string request = R"(<r a="&amp;&lt;&quot;" b='"<&>' />)";
  const std::string content = "<doc>\r\n  caf\u00E9 & <b>\"\u4E2D\"</b>\r\n\r\r\n\t]]></doc>";
  const std::string reply = "<files>\r\n<f name=\"a&amp;b\"/>\u00E9\r</files>";
  server.ReplyWithText(reply);
  EXPECT_EQ(Send("first"), reply);
  EXPECT_EQ(Send(request, content), reply);
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].content, std::nullopt);
  EXPECT_EQ(requests[1].request, request);
  EXPECT_EQ(requests[1].content, content);
}

// One exchange: what the server does and where the request goes, then the result and the last
// error. A failure shows the failure message, a fault its own text.
struct ExchangeCase {
  std::string_view name;
  std::function<void(testing::TestServer&)> arrange;
  std::string result;
  std::string error;
  std::function<std::string(const testing::TestServer&)> endpoint =
      [](const testing::TestServer& server) { return server.Endpoint(); };
};

std::function<void(testing::TestServer&)> Replying(std::string body) {
  return [body = std::move(body)](testing::TestServer& server) { server.ReplyWithBody(body); };
}

TEST(ConnectorContract, EachExchangeGivesItsResultAndLastError) {
  const std::string failure(kFailureError);
  const auto nothing = [](testing::TestServer&) {};
  const std::vector<ExchangeCase> cases = {
      {"fault, read from a reply with an error status",
       [](auto& server) { server.InjectFault("x"); }, "", "x"},
      {"two return elements are joined",
       Replying(ReplyBody("<r><return>first</return><return>second</return></r>")), "firstsecond",
       ""},
      {"no return element", Replying(ReplyBody("<r/>")), "", ""},
      {"a body that is not XML", Replying("<html><body>Proxy error"), "", failure},
      {"a port nothing listens on", [](auto& server) { server.Stop(); }, "", failure},
      {"a server that stops answering",
       [](auto& server) { server.DelayAnswers(std::chrono::minutes(5)); }, "", failure},
      {"a dropped connection", [](auto& server) { server.DropConnections(); }, "", failure},
      {"a path the server does not serve", nothing, "", failure,
       [](const auto& server) { return "http://" + server.ServerText() + "/elsewhere"; }},
      {"a scheme other than http and https", nothing, "", failure,
       [](const auto&) { return std::string("file:///etc/hostname"); }},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    testing::TestServer server;
    testing::ScriptedPrompts prompts;
    Connector connector(prompts, ShortLimits());
    row.arrange(server);
    EXPECT_EQ(connector.SendRequest(row.endpoint(server), "r"), row.result);
    EXPECT_EQ(connector.ErrorMsg(), row.error);
    const std::vector<Message> shown = row.error.empty() ? std::vector<Message>{}
                                       : row.error == failure
                                           ? std::vector{kFailureMessage}
                                           : std::vector{Message{.text = row.error}};
    EXPECT_THAT(prompts.Messages(), ElementsAreArray(shown));
  }
}

TEST_F(ConnectorTest, LaterSuccessKeepsTheEarlierLastError) {
  server.InjectFault("earlier fault");
  Send("r");
  server.ReplyWithText("fine");
  EXPECT_EQ(Send("r"), "fine");
  EXPECT_EQ(connector.ErrorMsg(), "earlier fault");

  server.DropConnections();
  Send("r");
  server.Behave();
  Send(std::string(kListRoot));
  EXPECT_EQ(connector.ErrorMsg(), kFailureError);
}

#ifdef CPPHTTPLIB_OPENSSL_SUPPORT
// An HTTPS endpoint answering every POST with `reply`, certified for 127.0.0.1 by a
// self-signed certificate.
class TlsServer {
 public:
  explicit TlsServer(std::string reply)
      : server_(PENLARK_TEST_DATA_DIR "/loopback-cert.pem",
                PENLARK_TEST_DATA_DIR "/loopback-key.pem") {
    server_.Post(".*",
                 [reply = std::move(reply)](const httplib::Request&, httplib::Response& response) {
                   response.set_content(ReplyBody("<return>" + reply + "</return>"), "text/xml");
                 });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  ~TlsServer() {
    server_.stop();
    thread_.join();
  }

  std::string Endpoint() const {
    return "https://127.0.0.1:" + std::to_string(port_) + "/servlet/XMLSOAPRouter";
  }

 private:
  httplib::SSLServer server_;
  int port_ = 0;
  std::thread thread_;
};

TEST(ConnectorTls, HttpsWorksWithATrustedCertificate) {
  TlsServer server("secure");
  testing::ScriptedPrompts prompts;
  Connector connector(prompts, {.caFile = PENLARK_TEST_DATA_DIR "/loopback-cert.pem"});
  EXPECT_EQ(connector.SendRequest(server.Endpoint(), "r"), "secure");
  EXPECT_THAT(prompts.Messages(), IsEmpty());
}

TEST(ConnectorTls, UntrustedCertificateRunsTheFailurePath) {
  TlsServer server("secure");
  testing::ScriptedPrompts prompts;
  Connector connector(prompts);
  EXPECT_EQ(connector.SendRequest(server.Endpoint(), "r"), "");
  EXPECT_EQ(connector.ErrorMsg(), kFailureError);
  EXPECT_THAT(prompts.Messages(), ElementsAre(kFailureMessage));
}
#endif

}  // namespace
}  // namespace penlark

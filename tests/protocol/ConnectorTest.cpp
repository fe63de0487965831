#include "protocol/Connector.h"
#include "support/ScriptedPrompts.h"
#include "support/TestServer.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <httplib.h>

namespace penlark {
namespace {

using ::testing::ElementsAre;
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

// A loopback port that nothing listens on.
int ClosedPort() {
  const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ::bind(socket, reinterpret_cast<sockaddr*>(&address), length);
  ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(socket);
  return ntohs(address.sin_port);
}

std::string ReplyBody(std::string_view bodyContent) {
  return std::string(
             R"(<?xml version="1.0"?><e:Envelope xmlns:e="http://schemas.xmlsoap.org/soap/envelope/"><e:Body>)") +
         std::string(bodyContent) + "</e:Body></e:Envelope>";
}

class ConnectorTest : public ::testing::Test {
 protected:
  testing::TestServer server;
  testing::ScriptedPrompts prompts;
  Connector connector{
      prompts,
      {.connectTimeout = std::chrono::seconds(5), .stallTimeout = std::chrono::seconds(1)}};

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

TEST_F(ConnectorTest, SendsOneParameterWithoutContentAndTwoWithIt) {
  server.ReplyWithText("ok");
  Send("first");
  Send("second", "the document");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].content, std::nullopt);
  EXPECT_EQ(requests[1].request, "second");
  EXPECT_EQ(requests[1].content, "the document");
}

TEST_F(ConnectorTest, TextArrivesUnchangedAtTheServer) {
  server.ReplyWithText("ok");
  const std::string request = R"(<r a="&amp;&lt;&quot;" b='"<&>' />)";
  const std::string content = "<doc>\r\n  caf\u00E9 & <b>\"\u4E2D\"</b>\r\n\r\r\n\t]]></doc>";
  EXPECT_EQ(Send(request, content), "ok");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].request, request);
  EXPECT_EQ(requests[0].content, content);
}

TEST_F(ConnectorTest, ReplyTextArrivesUnchanged) {
  const std::string reply = "<files>\r\n<f name=\"a&amp;b\"/>\u00E9\r</files>";
  server.ReplyWithText(reply);
  EXPECT_EQ(Send("r"), reply);
}

TEST_F(ConnectorTest, FaultSetsTheLastErrorShowsItAndGivesEmpty) {
  server.InjectFault("x");
  EXPECT_EQ(Send("r"), "");
  EXPECT_EQ(connector.ErrorMsg(), "x");
  EXPECT_THAT(prompts.Messages(), ElementsAre(Message{.text = "x"}));
}

TEST_F(ConnectorTest, UnreachablePortRunsTheFailurePath) {
  EXPECT_EQ(connector.SendRequest(
                "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/servlet/XMLSOAPRouter", "r"),
            "");
  EXPECT_EQ(connector.ErrorMsg(), kFailureError);
  EXPECT_THAT(prompts.Messages(), ElementsAre(kFailureMessage));
}

TEST_F(ConnectorTest, ServerThatStopsAnsweringTimesOutIntoTheFailurePath) {
  server.DelayAnswers(std::chrono::minutes(5));
  EXPECT_EQ(Send("r"), "");
  EXPECT_EQ(connector.ErrorMsg(), kFailureError);
  EXPECT_THAT(prompts.Messages(), ElementsAre(kFailureMessage));
}

TEST_F(ConnectorTest, DroppedConnectionRunsTheFailurePath) {
  server.DropConnections();
  EXPECT_EQ(Send("r"), "");
  EXPECT_EQ(connector.ErrorMsg(), kFailureError);
  EXPECT_THAT(prompts.Messages(), ElementsAre(kFailureMessage));
}

TEST_F(ConnectorTest, BodyThatIsNotXmlRunsTheFailurePath) {
  server.ReplyWithBody("<html><body>Proxy error");
  EXPECT_EQ(Send("r"), "");
  EXPECT_EQ(connector.ErrorMsg(), kFailureError);
  EXPECT_THAT(prompts.Messages(), ElementsAre(kFailureMessage));
}

TEST_F(ConnectorTest, WrongPathRunsTheFailurePath) {
  EXPECT_EQ(connector.SendRequest("http://" + server.ServerText() + "/elsewhere", "r"), "");
  EXPECT_EQ(connector.ErrorMsg(), kFailureError);
}

TEST_F(ConnectorTest, JoinsTwoReturnElements) {
  server.ReplyWithBody(ReplyBody("<r><return>first</return><return>second</return></r>"));
  EXPECT_EQ(Send("r"), "firstsecond");
}

TEST_F(ConnectorTest, ReplyWithoutReturnGivesEmptyWithoutMessage) {
  server.ReplyWithBody(ReplyBody("<r/>"));
  EXPECT_EQ(Send("r"), "");
  EXPECT_EQ(connector.ErrorMsg(), "");
  EXPECT_THAT(prompts.Messages(), IsEmpty());
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

TEST_F(ConnectorTest, OnlyHttpAndHttpsAreSpoken) {
  EXPECT_EQ(connector.SendRequest("file:///etc/hostname", "r"), "");
  EXPECT_EQ(connector.ErrorMsg(), kFailureError);
}

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

}  // namespace
}  // namespace penlark

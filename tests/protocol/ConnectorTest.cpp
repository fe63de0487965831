// The transport's contract, run against the one this build has (libcurl, or WinHTTP on Windows)
// and the reference server on loopback.
#include "HttpsEndpoint.h"
#include "protocol/Connector.h"
#include "support/ScriptedPrompts.h"
#include "support/TestServer.h"

#include <functional>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace penlark {
namespace {

using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using Server = testing::TestServer;

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
const std::string kFailureError = "ERROR 9991: Connection to Tarnwell failed.";

std::string ReplyBody(std::string_view bodyContent) {
  return R"(<?xml version="1.0"?><e:Envelope xmlns:e="http://schemas.xmlsoap.org/soap/envelope/">)"
         "<e:Body>" +
         std::string(bodyContent) + "</e:Body></e:Envelope>";
}

const TransportLimits kShortLimits{.connectTimeout = std::chrono::seconds(5),
                                   .stallTimeout = std::chrono::seconds(1)};

// The golden envelope with the SOAP headers.
TEST(Connector, SendsTheGoldenEnvelope) {
  Server server;
  testing::ScriptedPrompts prompts;
  Connector connector(prompts, kShortLimits);
  server.AddFolder("/reports");
  EXPECT_EQ(connector.SendRequest(server.Endpoint(), std::string(kListRoot)),
            R"(<files><file name="reports" type="1" access="3"/></files>)");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].body, kGoldenEnvelope);
  EXPECT_EQ(requests[0].soapAction, "\"urn:xmladmin-request#sendRequest\"");
  EXPECT_EQ(requests[0].contentType, "text/xml; charset=utf-8");
  EXPECT_EQ(requests[0].content, std::nullopt);
  EXPECT_THAT(prompts.Messages(), IsEmpty());
  EXPECT_EQ(connector.ErrorMsg(), "");
}

// One exchange: what the server does and where the request goes, then the result and the last
// error. A failure shows the failure message, a fault its own text.
TEST(ConnectorContract, EachExchangeGivesItsResultAndLastError) {
  const auto replying = [](std::string body) {
    return [body](Server& server) { server.ReplyWithBody(body); };
  };
  const auto nothing = [](Server&) {};
  const struct {
    std::string_view name;
    std::function<void(Server&)> arrange;
    std::string result, error;
    std::function<std::string(const Server&)> endpoint;  // the server's own when empty
  } cases[] = {
      {"fault, read from a reply with an error status",
       [](Server& server) { server.InjectFault("x"); }, "", "x"},
      {"no return element", replying(ReplyBody("<r/>")), "", ""},
      {"a body that is not XML", replying("<html><body>Proxy error"), "", kFailureError},
      {"a port nothing listens on", [](Server& server) { server.Stop(); }, "", kFailureError},
      {"a server that stops answering",
       [](Server& server) { server.DelayAnswers(std::chrono::minutes(5)); }, "", kFailureError},
      {"a dropped connection", [](Server& server) { server.DropConnections(); }, "", kFailureError},
      {"a path the server does not serve", nothing, "", kFailureError,
       [](const Server& server) { return "http://" + server.ServerText() + "/elsewhere"; }},
      {"a scheme other than http and https", nothing, "", kFailureError,
       [](const Server&) { return std::string("file:///etc/hostname"); }},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    Server server;
    testing::ScriptedPrompts prompts;
    Connector connector(prompts, kShortLimits);
    row.arrange(server);
    EXPECT_EQ(connector.SendRequest(row.endpoint ? row.endpoint(server) : server.Endpoint(), "r"),
              row.result);
    EXPECT_EQ(connector.ErrorMsg(), row.error);
    const std::vector<Message> shown = row.error.empty() ? std::vector<Message>{}
                                       : row.error == kFailureError
                                           ? std::vector{kFailureMessage}
                                           : std::vector{Message{.text = row.error}};
    EXPECT_THAT(prompts.Messages(), ElementsAreArray(shown));
  }
}

#if defined(CPPHTTPLIB_OPENSSL_SUPPORT) || defined(_WIN32)
// An HTTPS endpoint certified by a self-signed certificate: trusted it works, untrusted it runs
// the failure path.
TEST(ConnectorTls, HttpsWorksWithATrustedCertificateOnly) {
  for (const bool trusted : {true, false}) {
    SCOPED_TRACE(trusted);
    const testing::HttpsEndpoint endpoint(ReplyBody("<return>secure</return>"), trusted);
    testing::ScriptedPrompts prompts;
    Connector connector(prompts, endpoint.Limits());
    EXPECT_EQ(connector.SendRequest(endpoint.Url(), "r"), trusted ? "secure" : "");
    EXPECT_EQ(connector.ErrorMsg(), trusted ? "" : kFailureError);
    EXPECT_THAT(prompts.Messages(),
                ElementsAreArray(trusted ? std::vector<Message>{} : std::vector{kFailureMessage}));
  }
}
#endif

}  // namespace
}  // namespace penlark

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

using Server = testing::TestServer;

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

std::string ReplyBody(std::string_view bodyContent) {
  return R"(<?xml version="1.0"?><e:Envelope xmlns:e="http://schemas.xmlsoap.org/soap/envelope/">)"
         "<e:Body>" +
         std::string(bodyContent) + "</e:Body></e:Envelope>";
}

// One exchange: its result, its last error, and the message shown for it (the failure message
// for a failure, a fault's own text).
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

// What the server does and where the request goes.
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
      {"no return element", replying(ReplyBody("<r/>")), ""},
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
// An HTTPS endpoint certified by a self-signed certificate: trusted it works, untrusted it runs
// the failure path.
TEST(ConnectorTls, HttpsWorksWithATrustedCertificateOnly) {
  for (const bool trusted : {true, false}) {
    SCOPED_TRACE(trusted);
    const auto endpoint =
        testing::StartHttpsEndpoint(ReplyBody("<return>secure</return>"), trusted);
    ExpectExchange(endpoint.url, endpoint.limits, "r", trusted ? "secure" : "",
                   trusted ? "" : kFailure);
  }
}
#endif

}  // namespace
}  // namespace penlark

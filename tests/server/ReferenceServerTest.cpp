#include "protocol/HttpExchange.h"
#include "protocol/SoapEnvelope.h"
#include "protocol/TarnwellRequests.h"
#include "server/ReferenceServer.h"
#include "support/TempDir.h"

#include <arpa/inet.h>
#include <future>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

namespace penlark::server {
namespace {

const std::string kListRoot =
    soap::BuildRequestEnvelope(requests::GetFiles("/", "ann", "secret"), "");

class ReferenceServerTest : public ::testing::Test {
 protected:
  testing::TempDir root;
  ReferenceServer server{Config()};

  ServerConfig Config() {
    ServerConfig config{.root = root.Path(), .recordRequests = true};
    config.users.Add("ann", "secret");
    return config;
  }

  void SetUp() override { server.Start(); }

  HttpResult Post(std::string_view body, std::string path = std::string(kRouterPath)) {
    return PostSoapMessage("http://" + server.ServerText() + path, soap::kSoapAction, body,
                           {.stallTimeout = std::chrono::seconds(10)});
  }
};

// A reply or a fault (status 500) on the router path, in the service's words; no other path.
// Each request is recorded as it arrived.
TEST_F(ReferenceServerTest, AnswersOnTheRouterPathOnly) {
  EXPECT_EQ(server.ServerText(), "127.0.0.1:" + std::to_string(server.Port()));
  const std::pair<std::string, soap::Reply> cases[] = {
      {kListRoot, {true, std::nullopt, "<files/>"}},
      {"<unclosed", {true, "The request is not a sendRequest envelope.", ""}},
      {soap::BuildRequestEnvelope(requests::GetContent("/", "../etc/passwd", 2, "ann", "secret"),
                                  ""),
       {true, "The name is not allowed: it must be one folder or document name.", ""}},
  };
  for (const auto& [body, expected] : cases) {
    const HttpResult result = Post(body);
    ASSERT_TRUE(result.received) << body;
    EXPECT_EQ(result.status, expected.fault ? 500 : 200) << body;
    const soap::Reply reply = soap::ReadReply(result.body);
    EXPECT_EQ(reply.fault, expected.fault) << body;
    EXPECT_EQ(reply.result, expected.result) << body;
  }
  const HttpResult elsewhere = Post(kListRoot, "/servlet/other");
  ASSERT_TRUE(elsewhere.received);
  EXPECT_EQ(elsewhere.status, 404);
  const auto received = server.ReceivedRequests();  // as it arrived, unreadable or not
  ASSERT_EQ(received.size(), 3u);
  EXPECT_EQ(received[0].soapAction, "\"urn:xmladmin-request#sendRequest\"");
  EXPECT_EQ(received[1].body, "<unclosed");
  EXPECT_EQ(received[1].request, "");
}

TEST_F(ReferenceServerTest, StopCutsADelayedAnswerShort) {
  server.SetSwitches({.delay = std::chrono::hours(1)});
  auto pending = std::async(std::launch::async, [this] { return Post(kListRoot); });
  while (server.ReceivedRequests().empty() &&
         pending.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) {
  }
  server.Stop();
  EXPECT_FALSE(pending.get().received);
  server.Stop();  // a second stop is harmless
}

TEST_F(ReferenceServerTest, RefusesAPortInUse) {
  ServerConfig config = Config();
  config.port = server.Port();
  ReferenceServer second(std::move(config));
  EXPECT_THROW(second.Start(), std::runtime_error);
}

// A server with small limits: 1 MB requests, 300 ms per request.
class LimitedServerTest : public ReferenceServerTest {
 protected:
  ReferenceServer limited{[this] {
    ServerConfig config = Config();
    config.maxRequestBytes = std::size_t{1} << 20;
    config.requestDeadline = std::chrono::milliseconds(300);
    return config;
  }()};

  void SetUp() override { limited.Start(); }
};

TEST_F(LimitedServerTest, ATooLargeRequestGetsAFaultThatSaysSo) {
  const std::string request = requests::SaveFile("/", "big.xml", "ann", "secret");
  const HttpResult result = PostSoapMessage(
      "http://" + limited.ServerText() + std::string(kRouterPath), soap::kSoapAction,
      soap::BuildRequestEnvelope(request, std::string(2 << 20, 'x')), {});
  ASSERT_TRUE(result.received);
  EXPECT_EQ(result.status, 500);
  EXPECT_EQ(soap::ReadReply(result.body).fault,
            "The document is larger than the server accepts (1 MB).");
  EXPECT_FALSE(std::filesystem::exists(root / "big.xml"));
}

// A client that sends its request a byte at a time loses the connection at the deadline.
TEST_F(LimitedServerTest, ARequestPastItsDeadlineLosesItsConnection) {
  const int client = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{.sin_family = AF_INET, .sin_port = htons(limited.Port()), .sin_addr = {}};
  ::inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
  ASSERT_EQ(::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  const std::string head =
      "POST " + std::string(kRouterPath) + " HTTP/1.1\r\nHost: x\r\nContent-Length: 1000\r\n\r\n";
  ASSERT_EQ(::send(client, head.data(), head.size(), MSG_NOSIGNAL),
            static_cast<ssize_t>(head.size()));
  int sent = 0;
  char answer[256];
  while (sent < 100 && ::recv(client, answer, sizeof answer, MSG_DONTWAIT) < 0 &&
         ::send(client, "x", 1, MSG_NOSIGNAL) == 1) {
    ++sent;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ::close(client);
  EXPECT_LT(sent, 100);  // 100 bytes would have taken 5 s
}

}  // namespace
}  // namespace penlark::server

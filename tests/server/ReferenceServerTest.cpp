#include "protocol/HttpExchange.h"
#include "protocol/SoapEnvelope.h"
#include "protocol/TarnwellRequests.h"
#include "server/ReferenceServer.h"
#include "support/TempDir.h"

#include <future>
#include <thread>

#include <gtest/gtest.h>
#include <httplib.h>

namespace penlark::server {
namespace {

const std::string kListRoot =
    soap::BuildRequestEnvelope(requests::GetFiles("/", "ann", "secret"), "");

// A server with small limits: 1 MB requests, 300 ms per request.
class ReferenceServerTest : public ::testing::Test {
 protected:
  testing::TempDir root;
  ReferenceServer server{[this] {
    ServerConfig config{.root = root.Path(),
                        .recordRequests = true,
                        .maxRequestBytes = std::size_t{1} << 20,
                        .requestDeadline = std::chrono::milliseconds(300)};
    config.users.Add("ann", "secret");
    return config;
  }()};

  void SetUp() override { server.Start(); }

  static HttpResult Post(const ReferenceServer& to, std::string_view body) {
    return PostSoapMessage("http://" + to.ServerText() + std::string(kRouterPath),
                           soap::kSoapAction, body, {.stallTimeout = std::chrono::seconds(10)});
  }
};

TEST_F(ReferenceServerTest, RecordsEachRequestAndRefusesOneBeyondTheLimit) {
  EXPECT_EQ(server.ServerText(), "127.0.0.1:" + std::to_string(server.Port()));
  EXPECT_EQ(Post(server, "<unclosed").status, 500);
  const std::string tooLarge = soap::BuildRequestEnvelope(
      requests::SaveFile("/", "big.xml", "ann", "secret"), std::string(2 << 20, 'x'));
  const HttpResult result = Post(server, tooLarge);
  EXPECT_EQ(result.status, 500);
  EXPECT_EQ(soap::ReadReply(result.body).fault,
            "The document is larger than the server accepts (1 MB).");
  EXPECT_FALSE(std::filesystem::exists(root / "big.xml"));
  const auto received = server.ReceivedRequests();
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].body, "<unclosed");
  EXPECT_EQ(received[0].request, "");
}

// With no deadline near, only the stop ends a delayed answer.
TEST_F(ReferenceServerTest, StopCutsADelayedAnswerShortAndAPortInUseIsRefused) {
  ReferenceServer second({.root = root.Path(), .port = server.Port()});
  EXPECT_THROW(second.Start(), std::runtime_error);
  ReferenceServer patient({.root = root.Path(), .recordRequests = true});
  patient.Start();
  patient.SetSwitches({.delay = std::chrono::hours(1)});
  auto pending = std::async(std::launch::async, [&] { return Post(patient, kListRoot); });
  while (patient.ReceivedRequests().empty() &&
         pending.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) {
  }
  patient.Stop();
  EXPECT_FALSE(pending.get().received);
  patient.Stop();  // a second stop is harmless
}

// A client that sends its request a byte at a time loses the connection at the deadline.
TEST_F(ReferenceServerTest, ARequestPastItsDeadlineLosesItsConnection) {
  httplib::Client client("127.0.0.1", server.Port());
  int sent = 0;
  client.Post(
      std::string(kRouterPath), 1000,
      [&sent](std::size_t, std::size_t, httplib::DataSink& sink) {
        if (sent == 100 || !sink.write("x", 1)) {
          return false;
        }
        ++sent;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return true;
      },
      "text/xml");
  EXPECT_LT(sent, 100);  // 100 bytes would have taken 5 s
}

}  // namespace
}  // namespace penlark::server

#include "HttpsEndpoint.h"

#include <thread>

#include <httplib.h>

namespace penlark::testing {
namespace {

constexpr const char* kCertificate = PENLARK_TEST_DATA_DIR "/loopback-cert.pem";

struct Server {
  httplib::SSLServer server{kCertificate, PENLARK_TEST_DATA_DIR "/loopback-key.pem"};
  std::thread thread;
  ~Server() {
    server.stop();
    thread.join();
  }
};

}  // namespace

HttpsEndpoint StartHttpsEndpoint(const std::string& reply, bool trusted) {
  const auto running = std::make_shared<Server>();
  running->server.Post(".*", [reply](const httplib::Request&, httplib::Response& response) {
    response.set_content(reply, "text/xml");
  });
  const int port = running->server.bind_to_any_port("127.0.0.1");
  running->thread = std::thread([&server = running->server] { server.listen_after_bind(); });
  while (!running->server.is_running()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return {.url = "https://127.0.0.1:" + std::to_string(port) + "/servlet/XMLSOAPRouter",
          .limits = {.caFile = trusted ? kCertificate : ""},
          .running = running};
}

}  // namespace penlark::testing

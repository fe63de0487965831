#pragma once

#include "protocol/HttpExchange.h"

#include <memory>
#include <string>
#ifndef _WIN32
#include <thread>

#include <httplib.h>
#endif

namespace penlark::testing {

// An https server on loopback answering every POST with `reply`, which `limits` trust or not (on
// Windows, whose cpp-httplib has no TLS, the trust is the machine's root store).
struct HttpsEndpoint {
  std::string url;
  TransportLimits limits;
  std::shared_ptr<void> running;
};

#ifdef _WIN32
HttpsEndpoint StartHttpsEndpoint(const std::string& reply, bool trusted);
#else
struct HttpsServer {
  httplib::SSLServer server{PENLARK_TEST_DATA_DIR "/loopback-cert.pem",
                            PENLARK_TEST_DATA_DIR "/loopback-key.pem"};
  std::thread thread;
  ~HttpsServer() {
    server.stop();
    thread.join();
  }
};

inline HttpsEndpoint StartHttpsEndpoint(const std::string& reply, bool trusted) {
  const auto running = std::make_shared<HttpsServer>();
  running->server.Post(".*", [reply](const httplib::Request&, httplib::Response& response) {
    response.set_content(reply, "text/xml");
  });
  const int port = running->server.bind_to_any_port("127.0.0.1");
  running->thread = std::thread([&server = running->server] { server.listen_after_bind(); });
  while (!running->server.is_running()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return {.url = "https://127.0.0.1:" + std::to_string(port) + "/servlet/XMLSOAPRouter",
          .limits = {.caFile = trusted ? PENLARK_TEST_DATA_DIR "/loopback-cert.pem" : ""},
          .running = running};
}
#endif

}  // namespace penlark::testing

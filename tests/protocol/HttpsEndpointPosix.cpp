#include "HttpsEndpoint.h"

#include <thread>

#include <httplib.h>

namespace penlark::testing {

struct HttpsEndpoint::Parts {
  httplib::SSLServer server{PENLARK_TEST_DATA_DIR "/loopback-cert.pem",
                            PENLARK_TEST_DATA_DIR "/loopback-key.pem"};
  std::thread thread;
  std::string url;
  bool trusted = false;
};

HttpsEndpoint::HttpsEndpoint(const std::string& reply, bool trusted)
    : parts_(std::make_unique<Parts>()) {
  parts_->trusted = trusted;
  parts_->server.Post(".*", [reply](const httplib::Request&, httplib::Response& response) {
    response.set_content(reply, "text/xml");
  });
  const int port = parts_->server.bind_to_any_port("127.0.0.1");
  parts_->thread = std::thread([this] { parts_->server.listen_after_bind(); });
  while (!parts_->server.is_running()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  parts_->url = "https://127.0.0.1:" + std::to_string(port) + "/servlet/XMLSOAPRouter";
}

HttpsEndpoint::~HttpsEndpoint() {
  parts_->server.stop();
  parts_->thread.join();
}

const std::string& HttpsEndpoint::Url() const {
  return parts_->url;
}

TransportLimits HttpsEndpoint::Limits() const {
  return {.caFile = parts_->trusted ? PENLARK_TEST_DATA_DIR "/loopback-cert.pem" : ""};
}

}  // namespace penlark::testing

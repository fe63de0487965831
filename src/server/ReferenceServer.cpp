#include "server/ReferenceServer.h"

#include "protocol/SoapEnvelope.h"

#include <stdexcept>

#include <httplib.h>

namespace penlark::server {
namespace {

constexpr std::size_t kMaxRequestBytes = 256u << 20;

void SendAnswer(httplib::Response& response, Answer answer) {
  response.status = answer.status;
  response.body = std::move(answer.body);
  response.set_header("Content-Type", std::string(soap::kContentType));
}

// Sends the headers of a one-byte body, then closes the connection without it.
void DropConnection(httplib::Response& response) {
  response.set_content_provider(1, std::string(soap::kContentType),
                                [](std::size_t, std::size_t, httplib::DataSink&) { return false; });
}

}  // namespace

ReferenceServer::ReferenceServer(ServerConfig config)
    : service_(DocumentStore(config.root), std::move(config.users)),
      recordRequests_(config.recordRequests),
      requestedPort_(config.port),
      http_(std::make_unique<httplib::Server>()) {
  http_->set_payload_max_length(kMaxRequestBytes);
  http_->Post(std::string(kRouterPath),
              [this](const httplib::Request& request, httplib::Response& response) {
                const TestSwitches switches = Switches();
                if (switches.delay.count() > 0 && !Wait(switches.delay)) {
                  DropConnection(response);
                  return;
                }
                Answer answer = Respond(request.body, request.get_header_value("SOAPAction"),
                                        request.get_header_value("Content-Type"));
                if (switches.dropConnection) {
                  DropConnection(response);
                  return;
                }
                SendAnswer(response, std::move(answer));
              });
}

ReferenceServer::~ReferenceServer() {
  Stop();
}

std::uint16_t ReferenceServer::Start() {
  const int port =
      requestedPort_ == 0
          ? http_->bind_to_any_port(std::string(kLoopbackAddress))
          : (http_->bind_to_port(std::string(kLoopbackAddress), requestedPort_) ? requestedPort_
                                                                                : -1);
  if (port <= 0) {
    throw std::runtime_error("cannot listen on " + std::string(kLoopbackAddress) + ":" +
                             std::to_string(requestedPort_));
  }
  port_ = static_cast<std::uint16_t>(port);
  serving_ = std::thread([this] {
    http_->listen_after_bind();
    servingEnded_ = true;
  });
  // Stop() has no effect before the server runs, so do not return before it does.
  while (!http_->is_running() && !servingEnded_) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return port_;
}

void ReferenceServer::Stop() {
  {
    const std::lock_guard lock(mutex_);
    stopRequested_ = true;
  }
  stopping_.notify_all();
  http_->stop();
  if (serving_.joinable()) {
    serving_.join();
  }
}

std::string ReferenceServer::ServerText() const {
  return std::string(kLoopbackAddress) + ":" + std::to_string(port_);
}

void ReferenceServer::SetSwitches(TestSwitches switches) {
  const std::lock_guard lock(mutex_);
  switches_ = std::move(switches);
}

std::vector<ReceivedRequest> ReferenceServer::ReceivedRequests() const {
  const std::lock_guard lock(mutex_);
  return received_;
}

void ReferenceServer::ClearReceivedRequests() {
  const std::lock_guard lock(mutex_);
  received_.clear();
}

Answer ReferenceServer::Respond(const std::string& body, std::string soapAction,
                                std::string contentType) {
  std::optional<RequestEnvelope> envelope;
  std::string refusal;
  try {
    envelope = ReadRequestEnvelope(body);
  } catch (const RequestRefused& refused) {
    refusal = refused.what();
  }
  if (recordRequests_) {
    ReceivedRequest received{std::move(soapAction), std::move(contentType), body, {}, {}};
    if (envelope) {
      received.request = envelope->request;
      received.content = envelope->content;
    }
    const std::lock_guard lock(mutex_);
    received_.push_back(std::move(received));
  }

  const TestSwitches switches = Switches();
  if (switches.rawBody) {
    return {.status = 200, .body = *switches.rawBody};
  }
  if (switches.fault) {
    return FaultAnswer(kServerFault, *switches.fault);
  }
  if (!envelope) {
    return FaultAnswer(kClientFault, refusal);
  }
  if (switches.replyText) {
    return {.status = 200, .body = ReplyEnvelope(*switches.replyText)};
  }
  return service_.Handle(*envelope);
}

TestSwitches ReferenceServer::Switches() const {
  const std::lock_guard lock(mutex_);
  return switches_;
}

bool ReferenceServer::Wait(std::chrono::milliseconds delay) {
  std::unique_lock lock(mutex_);
  return !stopping_.wait_for(lock, delay, [this] { return stopRequested_; });
}

}  // namespace penlark::server

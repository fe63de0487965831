#include "server/ReferenceServer.h"

#include "protocol/SoapEnvelope.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include <httplib.h>

namespace penlark::server {
namespace {

constexpr std::size_t kAnswerPiece = std::size_t{1} << 20;

std::string TooLargeText(std::size_t maxRequestBytes) {
  return "The document is larger than the server accepts (" +
         std::to_string(maxRequestBytes >> 20) + " MB).";
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
      maxRequestBytes_(config.maxRequestBytes),
      requestDeadline_(config.requestDeadline),
      requestedPort_(config.port),
      http_(std::make_unique<httplib::Server>()) {
  http_->new_task_queue = [] { return new httplib::ThreadPool(kRequestThreads); };
  // So that a port in use cannot be bound a second time: without SO_REUSEPORT, and on Windows,
  // where SO_REUSEADDR would let a second server take the port, exclusively.
  http_->set_socket_options([this](socket_t socket) {
    const int on = 1;
#ifdef _WIN32
    ::setsockopt(socket, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&on),
                 sizeof on);
#else
    ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
#endif
    listeningSocket_ = static_cast<std::intptr_t>(socket);
  });
  http_->Post(
      std::string(kRouterPath),
      [this](const httplib::Request& request, httplib::Response& response,
             const httplib::ContentReader& readContent) { Serve(request, response, readContent); });
}

void ReferenceServer::Serve(const httplib::Request& request, httplib::Response& response,
                            const httplib::ContentReader& readContent) {
  const Deadline deadline = std::chrono::steady_clock::now() + requestDeadline_;
  std::optional<std::string> body = ReadBody(request, readContent, response, deadline);
  if (!body) {
    return;
  }
  const TestSwitches switches = Switches();
  const EnvelopeOrRefusal envelope =
      Receive(std::move(*body), request.get_header_value("SOAPAction"),
              request.get_header_value("Content-Type"));
  if (switches.delay.count() > 0 && !Wait(switches.delay)) {
    DropConnection(response);
    return;
  }
  std::optional<Answer> answer = Respond(switches, envelope, request.remote_addr);
  if (answer) {
    SendAnswer(response, std::move(*answer), deadline);
  } else {
    DropConnection(response);
  }
}

std::optional<std::string> ReferenceServer::ReadBody(const httplib::Request& request,
                                                     const httplib::ContentReader& readContent,
                                                     httplib::Response& response,
                                                     Deadline deadline) const {
  std::string body;
  // Reserved in advance, the body is never copied as it grows.
  const std::string announced = request.get_header_value("Content-Length");
  body.reserve(static_cast<std::size_t>(std::min<unsigned long long>(
      std::strtoull(announced.c_str(), nullptr, 10), maxRequestBytes_)));
  // A body beyond the limit is read to its end and dropped, so that the client, still sending,
  // gets the answer rather than a connection closed under it.
  bool tooLarge = false;
  const bool whole = readContent([&](const char* data, std::size_t length) {
    if (StopRequested() || std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    tooLarge = tooLarge || length > maxRequestBytes_ - body.size();
    if (!tooLarge) {
      body.append(data, length);
    }
    return true;
  });
  if (!whole) {
    DropConnection(response);
  } else if (tooLarge) {
    SendAnswer(response, FaultAnswer(kClientFault, TooLargeText(maxRequestBytes_)), deadline);
  } else {
    return body;
  }
  return std::nullopt;
}

void ReferenceServer::SendAnswer(httplib::Response& response, Answer answer,
                                 Deadline deadline) const {
  response.status = answer.status;
  auto body = std::make_shared<std::string>(std::move(answer.body));
  response.set_content_provider(
      body->size(), std::string(soap::kContentType),
      [this, body, deadline](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
        if (StopRequested() || std::chrono::steady_clock::now() > deadline) {
          return false;
        }
        return sink.write(body->data() + offset, std::min(length, kAnswerPiece));
      });
}

bool ReferenceServer::StopRequested() const {
  const std::lock_guard lock(mutex_);
  return stopRequested_;
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
  // The library listens with a queue of 5 connections: clients beyond that, arriving together,
  // would wait a second for their connection to be retried. Listening again widens the queue.
  ::listen(static_cast<socket_t>(listeningSocket_), SOMAXCONN);
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

ReferenceServer::EnvelopeOrRefusal ReferenceServer::Receive(std::string body,
                                                            std::string soapAction,
                                                            std::string contentType) {
  EnvelopeOrRefusal envelope;
  try {
    envelope = ReadRequestEnvelope(body);
  } catch (const RequestRefused& refused) {
    envelope = std::string(refused.what());
  }
  if (recordRequests_) {
    ReceivedRequest received{
        std::move(soapAction), std::move(contentType), std::move(body), {}, {}};
    if (const auto* read = std::get_if<RequestEnvelope>(&envelope)) {
      received.request = read->request;
      received.content = read->content;
    }
    const std::lock_guard lock(mutex_);
    received_.push_back(std::move(received));
  }
  return envelope;
}

std::optional<Answer> ReferenceServer::Respond(const TestSwitches& switches,
                                               const EnvelopeOrRefusal& envelope,
                                               std::string_view client) const {
  if (switches.dropConnection) {
    return std::nullopt;
  }
  if (switches.rawBody) {
    return Answer{.status = 200, .body = *switches.rawBody};
  }
  if (switches.fault) {
    return FaultAnswer(kServerFault, *switches.fault);
  }
  if (const auto* refusal = std::get_if<std::string>(&envelope)) {
    return FaultAnswer(kClientFault, *refusal);
  }
  if (switches.replyText) {
    return Answer{.status = 200, .body = ReplyEnvelope(*switches.replyText)};
  }
  return service_.Handle(std::get<RequestEnvelope>(envelope), client);
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

#pragma once

#include "server/TarnwellService.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <variant>
#include <vector>

namespace httplib {
class Server;
struct Request;
struct Response;
class ContentReader;
}  // namespace httplib

namespace penlark::server {

inline constexpr std::string_view kLoopbackAddress = "127.0.0.1";
inline constexpr std::string_view kRouterPath = "/servlet/XMLSOAPRouter";

// The server's limits, as --help and the README state them.
inline constexpr std::size_t kDefaultMaxRequestBytes = std::size_t{256} << 20;
inline constexpr std::size_t kRequestThreads = 8;  // requests served at once; more wait their turn
inline constexpr std::chrono::seconds kDefaultRequestDeadline{120};

// Ways to misbehave, for tests of the client's failure handling. Each one set applies to every
// request until changed; they are checked in the order below.
struct TestSwitches {
  std::chrono::milliseconds delay{0};    // wait this long before answering
  bool dropConnection = false;           // close the connection instead of sending a body
  std::optional<std::string> rawBody;    // send this body as it stands (status 200)
  std::optional<std::string> fault;      // answer with a SOAP fault of this text
  std::optional<std::string> replyText;  // answer with this reply string, doing nothing
};

// A request as the server received it, recorded on arrival.
struct ReceivedRequest {
  std::string soapAction;  // the SOAPAction header as sent, quotes included
  std::string contentType;
  std::string body;                    // the envelope's bytes
  std::string request;                 // ns1, decoded; "" when the envelope was unreadable
  std::optional<std::string> content;  // ns2, decoded, when it came
};

struct ServerConfig {
  std::filesystem::path root;
  UserTable users;
  std::uint16_t port = 0;       // 0: any free port
  bool recordRequests = false;  // keep every request for ReceivedRequests()
  // A larger request is answered with a fault that says so.
  std::size_t maxRequestBytes = kDefaultMaxRequestBytes;
  // A request still being received or answered this long after it began loses its connection.
  std::chrono::milliseconds requestDeadline = kDefaultRequestDeadline;
};

// The reference Tarnwell server: the SOAP endpoint /servlet/XMLSOAPRouter on 127.0.0.1, served
// from a background thread.
class ReferenceServer {
 public:
  // Throws std::runtime_error when the root is not a directory.
  explicit ReferenceServer(ServerConfig config);
  ~ReferenceServer();
  ReferenceServer(const ReferenceServer&) = delete;
  ReferenceServer& operator=(const ReferenceServer&) = delete;

  // Starts listening and serving; returns the port. Throws std::runtime_error when the port
  // cannot be bound.
  std::uint16_t Start();
  // Stops serving and waits for the serving thread; delayed answers are cut short.
  void Stop();

  std::uint16_t Port() const { return port_; }
  // What a user types in the server field to reach this server: "127.0.0.1:PORT".
  std::string ServerText() const;

  void SetSwitches(TestSwitches switches);
  std::vector<ReceivedRequest> ReceivedRequests() const;
  void ClearReceivedRequests();

 private:
  // The request's envelope, or the reason it cannot be read.
  using EnvelopeOrRefusal = std::variant<RequestEnvelope, std::string>;
  using Deadline = std::chrono::steady_clock::time_point;

  void Serve(const httplib::Request& request, httplib::Response& response,
             const httplib::ContentReader& readContent);
  // The request's body, or nullopt when the connection is to be closed: past the deadline, on
  // stopping, or (with the answer set) too large.
  std::optional<std::string> ReadBody(const httplib::Request& request,
                                      const httplib::ContentReader& readContent,
                                      httplib::Response& response, Deadline deadline) const;
  // Sends the answer in pieces, until the deadline or until the server stops.
  void SendAnswer(httplib::Response& response, Answer answer, Deadline deadline) const;
  bool StopRequested() const;

  // Reads and records a request as it arrives; the body is gone once it is read.
  EnvelopeOrRefusal Receive(std::string body, std::string soapAction, std::string contentType);
  // The answer the switches or the service give; nullopt to drop the connection.
  std::optional<Answer> Respond(const TestSwitches& switches, const EnvelopeOrRefusal& envelope,
                                std::string_view client) const;
  TestSwitches Switches() const;
  // Waits for `delay`; false when the server is stopping.
  bool Wait(std::chrono::milliseconds delay);

  TarnwellService service_;
  bool recordRequests_;
  std::size_t maxRequestBytes_;
  std::chrono::milliseconds requestDeadline_;
  std::uint16_t requestedPort_;
  std::uint16_t port_ = 0;
  std::unique_ptr<httplib::Server> http_;
  std::intptr_t listeningSocket_ = -1;  // the library's socket type
  std::thread serving_;
  std::atomic<bool> servingEnded_ = false;

  mutable std::mutex mutex_;
  std::condition_variable stopping_;
  bool stopRequested_ = false;
  TestSwitches switches_;
  std::vector<ReceivedRequest> received_;
};

}  // namespace penlark::server

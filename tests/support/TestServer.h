#pragma once

#include "server/ReferenceServer.h"
#include "support/TempDir.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace penlark::testing {

// The reference Tarnwell server running in-process on a free loopback port, over a fresh
// temporary root directory, recording every request it receives. Server paths ("/a/b.xml") are
// relative to the root. Stops in its destructor.
class TestServer {
 public:
  using User = std::pair<std::string, std::string>;  // name, password
  explicit TestServer(std::vector<User> users = {{"ann", "secret"}});

  // What to type in the server field: "127.0.0.1:PORT".
  std::string ServerText() const { return server_.ServerText(); }
  // The full SOAP endpoint URL.
  std::string Endpoint() const;
  const std::filesystem::path& Root() const { return root_.Path(); }

  // Seeding and checking the server's folders and documents.
  void AddFolder(std::string_view serverPath) const;
  void AddDocument(std::string_view serverPath, std::string_view content) const;
  std::optional<std::string> Document(std::string_view serverPath) const;
  bool HasFolder(std::string_view serverPath) const;
  bool HasEntry(std::string_view serverPath) const;

  // The requests received so far, oldest first.
  std::vector<server::ReceivedRequest> Requests() const { return server_.ReceivedRequests(); }
  // The decoded request element of the last request; "" when there was none.
  std::string LastRequest() const;
  void ClearRequests() { server_.ClearReceivedRequests(); }

  // Misbehaving: each applies to every later request until Behave() is called.
  void Behave() { server_.SetSwitches({}); }
  void InjectFault(std::string faultString);
  void DelayAnswers(std::chrono::milliseconds delay);
  void DropConnections();
  void ReplyWithBody(std::string body);   // any body, e.g. one that is not XML
  void ReplyWithText(std::string reply);  // a normal envelope with this reply string

  void Stop() { server_.Stop(); }

 private:
  std::filesystem::path Local(std::string_view serverPath) const;

  TempDir root_;
  server::ReferenceServer server_;
};

}  // namespace penlark::testing

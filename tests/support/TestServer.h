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

// The reference Tarnwell server in-process on loopback over a fresh root, recording each request;
// server paths ("/a/b.xml") are relative to the root.
class TestServer {
 public:
  using User = std::pair<std::string, std::string>;  // name, password
  explicit TestServer(const std::vector<User>& users = {{"ann", "secret"}});

  // What to type in the server field: "127.0.0.1:PORT".
  std::string ServerText() const { return server_.ServerText(); }
  std::string Endpoint() const {
    return "http://" + ServerText() + std::string(server::kRouterPath);
  }

  void AddFolder(std::string_view serverPath) const {
    std::filesystem::create_directories(Local(serverPath));
  }
  void AddDocument(std::string_view serverPath, std::string_view content) const;
  std::optional<std::string> Document(std::string_view path) const { return ReadFile(Local(path)); }
  bool HasFolder(std::string_view serverPath) const {
    return std::filesystem::is_directory(Local(serverPath));
  }
  bool HasEntry(std::string_view serverPath) const {
    return std::filesystem::exists(std::filesystem::symlink_status(Local(serverPath)));
  }

  std::vector<server::ReceivedRequest> Requests() const { return server_.ReceivedRequests(); }
  // The decoded request element of the last request; "" when there was none.
  std::string LastRequest() const;
  void ClearRequests() { server_.ClearReceivedRequests(); }

  // Misbehaving: each applies to every later request until Behave() is called.
  void Behave() { server_.SetSwitches({}); }
  void InjectFault(std::string fault) { server_.SetSwitches({.fault = std::move(fault)}); }
  void DelayAnswers(std::chrono::milliseconds delay) { server_.SetSwitches({.delay = delay}); }
  void DropConnections() { server_.SetSwitches({.dropConnection = true}); }
  // Any body, e.g. one that is not XML; or a normal envelope with this reply string.
  void ReplyWithBody(std::string body) { server_.SetSwitches({.rawBody = std::move(body)}); }
  void ReplyWithText(std::string reply) { server_.SetSwitches({.replyText = std::move(reply)}); }

  void Stop() { server_.Stop(); }

 private:
  std::filesystem::path Local(std::string_view serverPath) const;

  TempDir root_;
  server::ReferenceServer server_;
};

}  // namespace penlark::testing

#include "support/TestServer.h"

#include "platform/Files.h"

#include <stdexcept>

namespace penlark::testing {
namespace {

server::ServerConfig Config(const std::filesystem::path& root,
                            const std::vector<TestServer::User>& users) {
  server::ServerConfig config{.root = root, .recordRequests = true};
  for (const auto& [name, password] : users) {
    config.users.Add(name, password);
  }
  return config;
}

}  // namespace

TestServer::TestServer(std::vector<User> users) : server_(Config(root_.Path(), users)) {
  server_.Start();
}

std::string TestServer::Endpoint() const {
  return "http://" + ServerText() + std::string(server::kRouterPath);
}

void TestServer::AddFolder(std::string_view serverPath) const {
  std::filesystem::create_directories(Local(serverPath));
}

void TestServer::AddDocument(std::string_view serverPath, std::string_view content) const {
  const std::filesystem::path path = Local(serverPath);
  std::filesystem::create_directories(path.parent_path());
  WriteFile(path, content);
}

std::optional<std::string> TestServer::Document(std::string_view serverPath) const {
  return ReadFile(Local(serverPath));
}

bool TestServer::HasFolder(std::string_view serverPath) const {
  return std::filesystem::is_directory(Local(serverPath));
}

bool TestServer::HasEntry(std::string_view serverPath) const {
  return std::filesystem::exists(std::filesystem::symlink_status(Local(serverPath)));
}

std::string TestServer::LastRequest() const {
  const auto requests = Requests();
  return requests.empty() ? std::string() : requests.back().request;
}

void TestServer::InjectFault(std::string faultString) {
  server_.SetSwitches({.fault = std::move(faultString)});
}

void TestServer::DelayAnswers(std::chrono::milliseconds delay) {
  server_.SetSwitches({.delay = delay});
}

void TestServer::DropConnections() {
  server_.SetSwitches({.dropConnection = true});
}

void TestServer::ReplyWithBody(std::string body) {
  server_.SetSwitches({.rawBody = std::move(body)});
}

void TestServer::ReplyWithText(std::string reply) {
  server_.SetSwitches({.replyText = std::move(reply)});
}

std::filesystem::path TestServer::Local(std::string_view serverPath) const {
  if (!serverPath.starts_with('/') || serverPath.find("..") != std::string_view::npos) {
    throw std::invalid_argument("not a server path: " + std::string(serverPath));
  }
  return root_.Path() / Utf8Path(serverPath.substr(1));
}

}  // namespace penlark::testing

#include "support/TestServer.h"

#include "platform/Files.h"

#include <stdexcept>

namespace penlark::testing {
namespace fs = std::filesystem;

TestServer::TestServer(const std::vector<User>& users)
    : server_([&] {
        server::ServerConfig config{.root = root_.Path(), .recordRequests = true};
        for (const auto& [name, password] : users) {
          config.users.Add(name, password);
        }
        return config;
      }()) {
  server_.Start();
}

void TestServer::AddDocument(std::string_view serverPath, std::string_view content) const {
  fs::create_directories(Local(serverPath).parent_path());
  WriteFile(Local(serverPath), content);
}

std::string TestServer::LastRequest() const {
  const auto requests = Requests();
  return requests.empty() ? std::string() : requests.back().request;
}

fs::path TestServer::Local(std::string_view serverPath) const {
  if (!serverPath.starts_with('/') || serverPath.find("..") != std::string_view::npos) {
    throw std::invalid_argument("not a server path: " + std::string(serverPath));
  }
  return root_.Path() / Utf8Path(serverPath.substr(1));
}

}  // namespace penlark::testing

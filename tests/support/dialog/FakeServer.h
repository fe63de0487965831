#pragma once

#include "protocol/ServerClient.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace penlark::testing {

// A Tarnwell server held in memory, for the dialog's rules where the wire is not the point. It
// answers its users, refuses others with a message, and logs what it is asked: "getFiles /docs",
// "delete /docs a.rtf 2", "createFolder /docs new 1", "getContent /docs a.rtf 2",
// "saveFile /docs a.rtf 2".
class FakeServer {
 public:
  struct Entry {
    std::string dir;
    std::string name;
    std::int16_t type;    // 1: a folder
    std::string content;  // a document's XML form
  };
  enum class Failure {
    Fault,     // the text is shown and the reply is empty
    Internal,  // the same, then the dialog's failure hook runs
    Unread,    // the text is the reply, which leaves a listing as it was
  };

  void Add(std::string dir, std::string name, std::int16_t type = 2) {
    entries.push_back({std::move(dir), std::move(name), type, {}});
  }
  // The next request fails so.
  void FailNext(Failure failure, std::string text) { failure_ = {failure, std::move(text)}; }
  // What a component is given to reach this server.
  ServerClientFactory Clients();

  std::vector<Entry> entries;
  std::vector<std::pair<std::string, std::string>> users = {
      {"ann", "secret"}, {"Ann", "secret"}, {"bob", "pw"}, {"guest", ""}};
  std::vector<std::string> asked;
  std::string lastPassword;

 private:
  class Client;

  std::optional<std::pair<Failure, std::string>> failure_;
};

}  // namespace penlark::testing

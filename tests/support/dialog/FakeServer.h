#pragma once

#include "protocol/ServerClient.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace penlark::testing {

// A Tarnwell server held in memory, for the dialog's rules where the wire is not the point. It
// answers for its hosts and users with the reference server's refusal texts, fails to connect for
// any other host with the transport's message, and logs what it was asked: "getFiles /docs",
// "delete /docs a.rtf 2", "createFolder /docs new 1", "getContent /docs a.rtf 2",
// "saveFile /docs a.rtf".
class FakeServer {
 public:
  struct Entry {
    std::string dir;
    std::string name;
    std::int16_t type;
    std::string content;  // a document's XML form
  };
  enum class Failure {
    None,
    Fault,     // a fault: its text is shown and the reply is empty
    Internal,  // a failure inside the request functions: shown, then the dialog's failure hook
    Unread,    // this text comes back as the reply; a listing is left as it was
  };

  // An entry of `dir`, after those already there; type 1 is a folder.
  void Add(std::string dir, std::string name, std::int16_t type = 2, std::string content = {});
  // The entry of that folder, name and type; nullptr when there is none.
  Entry* Find(const std::string& dir, const std::string& name, std::int16_t type = 2);
  // The next request fails so.
  void FailNext(Failure failure, std::string text) {
    failure_ = failure;
    failureText_ = std::move(text);
  }

  // What a component is given to reach this server.
  ServerClientFactory Clients();

  std::vector<std::string> hosts = {"tarn", "fen"};
  std::vector<std::pair<std::string, std::string>> users = {
      {"ann", "secret"}, {"Ann", "secret"}, {"bob", "pw"}, {"guest", ""}};
  std::vector<std::string> asked;
  std::string lastPassword;

 private:
  class Client;

  std::vector<Entry> entries_;
  Failure failure_ = Failure::None;
  std::string failureText_;
};

}  // namespace penlark::testing

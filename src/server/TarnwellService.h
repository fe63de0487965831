#pragma once

#include "server/DocumentStore.h"
#include "server/LoginThrottle.h"
#include "server/SoapMessages.h"
#include "server/UserTable.h"

#include <string>
#include <string_view>

namespace penlark::server {

// An HTTP answer: its status and its body.
struct Answer {
  int status = 200;
  std::string body;
};

// The requests of the Tarnwell server carried out on a document store: getFiles, getContent,
// saveFile, createFolder and delete, each for a user with the right password.
class TarnwellService {
 public:
  TarnwellService(DocumentStore store, UserTable users);

  // The reply string to one request from `client` (its address; failed logins are counted per
  // client and user, see LoginThrottle); throws RequestRefused with the fault's text.
  std::string Execute(const RequestEnvelope& envelope, std::string_view client = {}) const;

  // The answer to a request envelope: a reply envelope, or a fault (status 500) for anything
  // that cannot be carried out, including a body that is not a sendRequest envelope.
  Answer Handle(std::string_view body, std::string_view client = {}) const;
  // The answer to an envelope already read.
  Answer Handle(const RequestEnvelope& envelope, std::string_view client = {}) const;

  const DocumentStore& Store() const { return store_; }

 private:
  DocumentStore store_;
  UserTable users_;
  mutable LoginThrottle throttle_;
};

// A fault answer (status 500).
Answer FaultAnswer(std::string_view faultCode, std::string_view faultString);

}  // namespace penlark::server

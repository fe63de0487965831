#pragma once

#include "protocol/HttpExchange.h"

#include <memory>
#include <string>

namespace penlark::testing {

// An https server on loopback that answers every POST with `reply`, certified by a self-signed
// certificate of the test data, while `running` lives; `limits` make the transport trust it, or
// not (on Windows, whose cpp-httplib has no TLS, the trust is the machine's root store).
struct HttpsEndpoint {
  std::string url;
  TransportLimits limits;
  std::shared_ptr<void> running;
};

HttpsEndpoint StartHttpsEndpoint(const std::string& reply, bool trusted);

}  // namespace penlark::testing

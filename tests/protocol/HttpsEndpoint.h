#pragma once

#include "protocol/HttpExchange.h"

#include <memory>
#include <string>

namespace penlark::testing {

// An https server on loopback that answers every POST with `reply`, certified by a self-signed
// certificate of the test data, and the transport limits that make the transport trust it, or
// not. On POSIX the server runs in the test (cpp-httplib with OpenSSL) and the trust is the
// transport's CA file. On Windows, whose cpp-httplib here has no TLS, the server is a program of
// the host system that Wine starts (loopback_tls_server.py), and a trusted certificate sits in the
// machine's root store while the object lives; an untrusted one is another certificate, as the
// process keeps the root store it first checked a certificate against.
class HttpsEndpoint {
 public:
  HttpsEndpoint(const std::string& reply, bool trusted);
  ~HttpsEndpoint();
  HttpsEndpoint(const HttpsEndpoint&) = delete;
  HttpsEndpoint& operator=(const HttpsEndpoint&) = delete;

  const std::string& Url() const;
  TransportLimits Limits() const;

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

}  // namespace penlark::testing

#pragma once

#include <chrono>
#include <string>
#include <string_view>

// One HTTP POST of a SOAP message: a fresh connection for every exchange, time-outs for connecting
// and for a transfer that stalls, TLS certificates verified. The build chooses the transport:
// libcurl (HttpExchange.cpp), or WinHTTP on Windows (WinHttpExchange.cpp).
namespace penlark {

// How long an exchange may wait. Tests shorten them.
struct TransportLimits {
  std::chrono::milliseconds connectTimeout{30'000};
  // A transfer that moves no data this long is abandoned (checked about once a second, and
  // whenever data moves).
  std::chrono::milliseconds stallTimeout{60'000};
  // PEM file of the certificate authorities to trust instead of the system's; "" for the system's.
  // libcurl only: WinHTTP trusts the Windows certificate store.
  std::string caFile;
};

struct HttpResult {
  bool received = false;  // false: no complete reply (unreachable, time-out, dropped connection)
  long status = 0;
  std::string body;
};

// Posts `body` to `url` (http or https only) with the SOAPAction header (quoted) and the XML
// content type. The reply's body is returned whatever its HTTP status.
HttpResult PostSoapMessage(const std::string& url, std::string_view soapAction,
                           std::string_view body, const TransportLimits& limits);

}  // namespace penlark

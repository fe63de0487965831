#pragma once

#include "platform/Prompts.h"
#include "protocol/HttpExchange.h"

#include <string>

namespace penlark {

// Performs one SOAP call of sendRequest per SendRequest: the request as the first string
// parameter, a document as the optional second, the server's reply string as the result.
// Faults and failed exchanges are shown to the user and give the empty string.
class Connector {
 public:
  explicit Connector(Prompts& prompts, TransportLimits limits = {});

  // Stores a URL; sending does not use it.
  void SetURL(const std::string& lurl);
  // The last fault's text or failure description; "" until the first one, and kept through
  // later successful calls.
  const std::string& ErrorMsg() const;

  // Calls sendRequest at the endpoint `urlstr`; "" after a fault or a failed exchange, or when
  // the reply holds no "return" element.
  std::string SendRequest(const std::string& urlstr, const std::string& request,
                          const std::string& content = {});

 private:
  std::string ReportFault(const std::string& faultString);
  std::string ReportFailure();

  Prompts& prompts_;
  TransportLimits limits_;
  std::string url_;
  std::string lastError_;
};

}  // namespace penlark

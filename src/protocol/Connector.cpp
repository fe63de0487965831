#include "protocol/Connector.h"

#include "protocol/SoapEnvelope.h"

#include <exception>

namespace penlark {
namespace {

constexpr std::string_view kFailureNumber = "9991";
constexpr std::string_view kFailureMessage =
    "Error: Connection to Tarnwell Server failed. The Server could be down. Try Later...";

}  // namespace

Connector::Connector(Prompts& prompts, TransportLimits limits)
    : prompts_(prompts), limits_(std::move(limits)) {}

void Connector::SetURL(const std::string& lurl) {
  url_ = lurl;
}

const std::string& Connector::ErrorMsg() const {
  return lastError_;
}

std::string Connector::SendRequest(const std::string& urlstr, const std::string& request,
                                   const std::string& content) {
  try {
    const HttpResult http = PostSoapMessage(urlstr, soap::kSoapAction,
                                            soap::BuildRequestEnvelope(request, content), limits_);
    if (!http.received) {
      return ReportFailure();
    }
    soap::Reply reply = soap::ReadReply(http.body);
    if (!reply.wellFormed) {
      return ReportFailure();
    }
    if (reply.fault) {
      return ReportFault(*reply.fault);
    }
    return std::move(reply.result);
  } catch (const std::exception&) {
    return ReportFailure();
  }
}

std::string Connector::ReportFault(const std::string& faultString) {
  lastError_ = faultString;
  prompts_.ShowMessage({.text = faultString});
  return {};
}

// No fault string was read on this path, so the fault text between the number and the colon is
// empty.
std::string Connector::ReportFailure() {
  lastError_ = "ERROR " + std::string(kFailureNumber) + ": Connection to Tarnwell failed.";
  prompts_.ShowMessage({.text = std::string(kFailureMessage), .icon = MessageIcon::Exclamation});
  return {};
}

}  // namespace penlark

#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// The server's side of the sendRequest call: reading the request envelope, writing the reply
// and fault envelopes.
namespace penlark::server {

// A request the server will not carry out; its text becomes the SOAP fault string.
class RequestRefused : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct RequestEnvelope {
  std::string request;                 // the text of ns1: one request element
  std::optional<std::string> content;  // the text of ns2, when it came
};

// The parameters of a sendRequest envelope; throws RequestRefused when the body is not one.
RequestEnvelope ReadRequestEnvelope(std::string_view body);

inline constexpr std::string_view kClientFault = "SOAP-ENV:Client";
inline constexpr std::string_view kServerFault = "SOAP-ENV:Server";

// The reply envelope carrying `reply` as the string result "return".
std::string ReplyEnvelope(std::string_view reply);
// A SOAP fault envelope.
std::string FaultEnvelope(std::string_view faultCode, std::string_view faultString);

}  // namespace penlark::server

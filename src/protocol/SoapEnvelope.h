#pragma once

#include <optional>
#include <string>
#include <string_view>

// The SOAP 1.1 messages of the one remote call the server offers: sendRequest in
// "urn:xmladmin-request", with the request as the string parameter ns1, an optional document as
// ns2, and the reply as the string result "return".
namespace penlark::soap {

inline constexpr std::string_view kMethodNamespace = "urn:xmladmin-request";
inline constexpr std::string_view kMethodName = "sendRequest";
inline constexpr std::string_view kSoapAction = "urn:xmladmin-request#sendRequest";
inline constexpr std::string_view kEnvelopeNamespace = "http://schemas.xmlsoap.org/soap/envelope/";
inline constexpr std::string_view kEncodingNamespace = "http://schemas.xmlsoap.org/soap/encoding/";
inline constexpr std::string_view kSchemaInstanceNamespace =
    "http://www.w3.org/1999/XMLSchema-instance";
inline constexpr std::string_view kSchemaNamespace = "http://www.w3.org/1999/XMLSchema";
inline constexpr std::string_view kRequestParameter = "ns1";
inline constexpr std::string_view kContentParameter = "ns2";
inline constexpr std::string_view kResultElement = "return";
inline constexpr std::string_view kContentType = "text/xml; charset=utf-8";

// The envelope's start tag with its encoding style and namespace declarations, shared by the
// request and by the reference server's replies.
std::string EnvelopeStartTag();

// The request envelope: ns1 holds `request`; ns2 holds `content` and is left out when it is empty.
std::string BuildRequestEnvelope(std::string_view request, std::string_view content);

// What a reply body says.
struct Reply {
  bool wellFormed = false;           // false: the body is not XML at all
  std::optional<std::string> fault;  // the fault string, when the reply is a SOAP fault
  std::string result;                // the text of every "return" element, in document order
};

Reply ReadReply(std::string_view body);

// The two ways ReadReply reads, exposed for tests. A large reply is nearly all the text of one
// "return" element: the fast way decodes that text itself and has the parser read the rest,
// and gives nullopt when the reply does not have that shape (the parser then reads it all).
std::optional<Reply> ReadReplyFast(std::string_view body);
Reply ReadReplyWithParser(std::string_view body);

}  // namespace penlark::soap

#include "server/SoapMessages.h"

#include "protocol/SoapEnvelope.h"
#include "protocol/XmlDocument.h"
#include "protocol/XmlEscape.h"

namespace penlark::server {
namespace {

constexpr std::string_view kXmlDeclaration = R"(<?xml version="1.0" encoding="UTF-8"?>)";
constexpr std::string_view kNotAnEnvelope = "The request is not a sendRequest envelope.";

// `node` or the first element among its following siblings.
const xmlNode* ThisOrNextElement(const xmlNode* node) {
  while (node != nullptr && node->type != XML_ELEMENT_NODE) {
    node = node->next;
  }
  return node;
}

std::string Envelope(std::string_view bodyContent) {
  std::string envelope;
  envelope.reserve(400 + bodyContent.size());
  envelope.append(kXmlDeclaration).append(soap::EnvelopeStartTag()).append("<SOAP-ENV:Body>");
  envelope.append(bodyContent).append("</SOAP-ENV:Body></SOAP-ENV:Envelope>");
  return envelope;
}

}  // namespace

RequestEnvelope ReadRequestEnvelope(std::string_view body) {
  const xml::Document document = xml::Parse(body, xml::InputEncoding::Declared);
  const xmlNode* envelope = document ? xmlDocGetRootElement(document.get()) : nullptr;
  if (!xml::IsElement(envelope, "Envelope", soap::kEnvelopeNamespace)) {
    throw RequestRefused(std::string(kNotAnEnvelope));
  }
  const xmlNode* soapBody = ThisOrNextElement(envelope->children);
  if (xml::IsElement(soapBody, "Header", soap::kEnvelopeNamespace)) {
    soapBody = ThisOrNextElement(soapBody->next);
  }
  if (!xml::IsElement(soapBody, "Body", soap::kEnvelopeNamespace)) {
    throw RequestRefused(std::string(kNotAnEnvelope));
  }
  const xmlNode* method = ThisOrNextElement(soapBody->children);
  if (!xml::IsElement(method, soap::kMethodName, soap::kMethodNamespace)) {
    throw RequestRefused(std::string(kNotAnEnvelope));
  }
  RequestEnvelope parameters;
  bool hasRequest = false;
  for (const xmlNode* child = method->children; child != nullptr; child = child->next) {
    if (xml::IsElement(child, soap::kRequestParameter, "")) {
      parameters.request = xml::TextContent(child);
      hasRequest = true;
    } else if (xml::IsElement(child, soap::kContentParameter, "")) {
      parameters.content = xml::TextContent(child);
    }
  }
  if (!hasRequest) {
    throw RequestRefused("The request envelope has no ns1 parameter.");
  }
  return parameters;
}

std::string ReplyEnvelope(std::string_view reply) {
  std::string content = "<ns1:sendRequestResponse xmlns:ns1=\"";
  content.append(soap::kMethodNamespace).append(R"("><return xsi:type="xsd:string">)");
  xml::AppendEscapedText(content, reply);
  content.append("</return></ns1:sendRequestResponse>");
  return Envelope(content);
}

std::string FaultEnvelope(std::string_view faultCode, std::string_view faultString) {
  std::string content = "<SOAP-ENV:Fault><faultcode>";
  content.append(faultCode).append("</faultcode><faultstring>");
  xml::AppendEscapedText(content, faultString);
  content.append("</faultstring></SOAP-ENV:Fault>");
  return Envelope(content);
}

}  // namespace penlark::server

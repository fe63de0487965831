#include "protocol/SoapEnvelope.h"

#include "protocol/XmlDocument.h"
#include "protocol/XmlEscape.h"

namespace penlark::soap {
namespace {

constexpr std::string_view kXmlDeclaration = R"(<?xml version="1.0" encoding="UTF-8"?>)";

void AppendParameter(std::string& out, std::string_view name, std::string_view text) {
  out.append("<").append(name).append(R"( xsi:type="xsd:string">)");
  xml::AppendEscapedText(out, text);
  out.append("</").append(name).append(">");
}

// The element after `node` in document order, below `root`.
const xmlNode* NextInDocument(const xmlNode* node, const xmlNode* root) {
  if (node->type == XML_ELEMENT_NODE && node->children != nullptr) {
    return node->children;
  }
  while (node != root && node->next == nullptr) {
    node = node->parent;
  }
  return node == root ? nullptr : node->next;
}

bool IsResultElement(const xmlNode* node) {
  return node->type == XML_ELEMENT_NODE && xml::QualifiedName(node) == kResultElement;
}

// The fault's text; "" for a fault without one.
std::string FaultString(const xmlNode* fault) {
  for (const xmlNode* child = fault->children; child != nullptr; child = child->next) {
    if (xml::IsElement(child, "faultstring", "")) {
      return xml::TextContent(child);
    }
  }
  return {};
}

}  // namespace

std::string EnvelopeStartTag() {
  std::string tag = R"(<SOAP-ENV:Envelope xmlns:SOAP-ENV=")";
  tag.append(kEnvelopeNamespace)
      .append(R"(" SOAP-ENV:encodingStyle=")")
      .append(kEncodingNamespace)
      .append(R"(" xmlns:xsi=")")
      .append(kSchemaInstanceNamespace)
      .append(R"(" xmlns:SOAP-ENC=")")
      .append(kEncodingNamespace)
      .append(R"(" xmlns:xsd=")")
      .append(kSchemaNamespace)
      .append(R"(">)");
  return tag;
}

std::string BuildRequestEnvelope(std::string_view request, std::string_view content) {
  std::string envelope;
  envelope.reserve(512 + request.size() + content.size() + content.size() / 8);
  envelope.append(kXmlDeclaration).append(EnvelopeStartTag()).append("<SOAP-ENV:Body>");
  envelope.append("<method:").append(kMethodName).append(R"( xmlns:method=")");
  envelope.append(kMethodNamespace).append(R"(">)");
  AppendParameter(envelope, kRequestParameter, request);
  if (!content.empty()) {
    AppendParameter(envelope, kContentParameter, content);
  }
  envelope.append("</method:").append(kMethodName).append(">");
  envelope.append("</SOAP-ENV:Body></SOAP-ENV:Envelope>");
  return envelope;
}

Reply ReadReply(std::string_view body) {
  Reply reply;
  const xml::Document document = xml::Parse(body, xml::InputEncoding::Declared);
  const xmlNode* root = document ? xmlDocGetRootElement(document.get()) : nullptr;
  if (root == nullptr) {
    return reply;
  }
  reply.wellFormed = true;
  for (const xmlNode* node = root; node != nullptr; node = NextInDocument(node, root)) {
    if (xml::IsElement(node, "Fault", kEnvelopeNamespace)) {
      reply.fault = FaultString(node);
      return reply;
    }
    if (IsResultElement(node)) {
      xml::AppendTextContent(reply.result, node);
    }
  }
  return reply;
}

}  // namespace penlark::soap

#include "protocol/SoapEnvelope.h"

#include "platform/Utils.h"
#include "protocol/XmlCharacterData.h"
#include "protocol/XmlDocument.h"
#include "protocol/XmlEscape.h"

#include <algorithm>

namespace penlark::soap {
namespace {

constexpr std::string_view kXmlDeclaration = R"(<?xml version="1.0" encoding="UTF-8"?>)";

void AppendParameter(std::string& out, std::string_view name, std::string_view text) {
  out.append("<").append(name).append(R"( xsi:type="xsd:string">)");
  xml::AppendEscapedText(out, text);
  out.append("</").append(name).append(">");
}

// Replies of this size or more are worth reading the fast way.
constexpr std::size_t kLargeReply = 64 * 1024;

// A text node whose content is read from elsewhere. The node is the whole content of the first
// result element of the reply, which no other result element encloses, so ReadDocument reaches
// it once: its text moves into an empty result, else is appended.
struct Substitute {
  const xmlNode* node = nullptr;
  std::string text;

  void AppendTo(std::string& out) {
    if (out.empty()) {
      out.swap(text);
    } else {
      out.append(text);
    }
  }
};

bool IsResultElement(const xmlNode* node) {
  return node->type == XML_ELEMENT_NODE && xml::QualifiedName(node) == kResultElement;
}

// Appends the text below `element`, in document order.
void AppendText(std::string& out, const xmlNode* element, Substitute& substitute) {
  for (const xmlNode* node = element->children; node != nullptr;
       node = xml::NextInDocument(node, element)) {
    if (node == substitute.node) {
      substitute.AppendTo(out);
    } else if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
      out.append(xml::AsView(node->content));
    }
  }
}

// The fault's text; "" for a fault without one.
std::string FaultString(const xmlNode* fault, Substitute& substitute) {
  std::string text;
  for (const xmlNode* child = fault->children; child != nullptr; child = child->next) {
    if (xml::IsElement(child, "faultstring", "")) {
      AppendText(text, child, substitute);
      break;
    }
  }
  return text;
}

// What a parsed reply says; a null document is a reply that is not XML.
Reply ReadDocument(const xmlDoc* document, Substitute&& substitute = {}) {
  Reply reply;
  const xmlNode* root = document != nullptr ? xmlDocGetRootElement(document) : nullptr;
  if (root == nullptr) {
    return reply;
  }
  reply.wellFormed = true;
  for (const xmlNode* node = root; node != nullptr; node = xml::NextInDocument(node, root)) {
    if (xml::IsElement(node, "Fault", kEnvelopeNamespace)) {
      reply.fault = FaultString(node, substitute);
      return reply;
    }
    if (IsResultElement(node)) {
      AppendText(reply.result, node, substitute);
    }
  }
  return reply;
}

// True when the body is plainly UTF-8: no byte order mark but UTF-8's, and an XML declaration,
// if any, that names no other encoding.
bool IsPlainUtf8(std::string_view body) {
  if (body.starts_with("\xEF\xBB\xBF")) {
    body.remove_prefix(3);
  }
  if (!body.starts_with("<?xml")) {
    return body.starts_with('<') && !body.starts_with(std::string_view("<\0", 2));
  }
  const std::string_view declaration = body.substr(0, body.find("?>"));
  const std::size_t name = declaration.find("encoding");
  if (name == std::string_view::npos) {
    return true;
  }
  const std::size_t quote = declaration.find_first_of("\"'", name);
  if (quote == std::string_view::npos) {
    return false;
  }
  const std::size_t end = declaration.find(declaration[quote], quote + 1);
  return end != std::string_view::npos &&
         EqualsNoCase(declaration.substr(quote + 1, end - quote - 1), "UTF-8");
}

// Where the text of the first "return" element lies, when its start tag is directly followed by
// text and an end tag.
std::optional<std::pair<std::size_t, std::size_t>> FindResultText(std::string_view body) {
  const std::string startTag = "<" + std::string(kResultElement);
  const std::size_t tag = body.find(startTag);
  std::size_t position = tag == std::string_view::npos ? body.size() : tag + startTag.size();
  if (position >= body.size() ||
      std::string_view(" \t\r\n>").find(body[position]) == std::string_view::npos) {
    return std::nullopt;
  }
  // The start tag ends at the first ">" outside quoted attribute values.
  while (position < body.size() && body[position] != '>') {
    if (body[position] == '"' || body[position] == '\'') {
      position = std::min(body.find(body[position], position + 1), body.size());
    }
    ++position;
  }
  if (position >= body.size() || body[position - 1] == '/') {
    return std::nullopt;
  }
  const std::size_t textStart = position + 1;
  const std::size_t textEnd = body.find('<', textStart);
  const std::string endTag = "</" + std::string(kResultElement);
  if (textEnd == std::string_view::npos || !body.substr(textEnd).starts_with(endTag)) {
    return std::nullopt;
  }
  return std::pair{textStart, textEnd};
}

// A text that occurs in neither part. (Between them it cannot cross into either: the text
// before ends with ">" and the text after starts with "<", which the marker does not hold.)
std::string UniqueMarker(std::string_view before, std::string_view after) {
  for (int n = 0;; ++n) {
    std::string marker = "penlark-result-text-" + std::to_string(n);
    if (before.find(marker) == std::string_view::npos &&
        after.find(marker) == std::string_view::npos) {
      return marker;
    }
  }
}

// The one text node holding `marker`, when it is the whole content of a result element.
const xmlNode* FindMarker(const xmlDoc* document, std::string_view marker) {
  const xmlNode* root = xmlDocGetRootElement(document);
  const xmlNode* found = nullptr;
  for (const xmlNode* node = root; node != nullptr; node = xml::NextInDocument(node, root)) {
    if ((node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) &&
        xml::AsView(node->content).find(marker) != std::string_view::npos) {
      if (found != nullptr) {
        return nullptr;
      }
      found = node;
    }
  }
  const bool wholeContent = found != nullptr && found->type == XML_TEXT_NODE &&
                            xml::AsView(found->content) == marker && found->prev == nullptr &&
                            found->next == nullptr && IsResultElement(found->parent);
  return wholeContent ? found : nullptr;
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
  if (body.size() >= kLargeReply) {
    if (std::optional<Reply> reply = ReadReplyFast(body)) {
      return std::move(*reply);
    }
  }
  return ReadReplyWithParser(body);
}

std::optional<Reply> ReadReplyFast(std::string_view body) {
  const auto text = IsPlainUtf8(body) ? FindResultText(body) : std::nullopt;
  if (!text) {
    return std::nullopt;
  }
  std::optional<std::string> decoded =
      xml::DecodeCharacterData(body.substr(text->first, text->second - text->first));
  if (!decoded) {
    return std::nullopt;
  }
  // The parser reads the reply with the text replaced by a marker, and must find the marker as
  // the whole content of a result element: then the text was that element's character data.
  const std::string_view before = body.substr(0, text->first);
  const std::string_view after = body.substr(text->second);
  const std::string marker = UniqueMarker(before, after);
  std::string skeleton(before);
  skeleton.append(marker).append(after);
  const xml::Document document = xml::Parse(skeleton, xml::InputEncoding::Declared);
  const xmlNode* markerNode = document ? FindMarker(document.get(), marker) : nullptr;
  if (markerNode == nullptr) {
    return std::nullopt;
  }
  return ReadDocument(document.get(), {markerNode, std::move(*decoded)});
}

Reply ReadReplyWithParser(std::string_view body) {
  const xml::Document document = xml::Parse(body, xml::InputEncoding::Declared);
  return ReadDocument(document.get());
}

}  // namespace penlark::soap

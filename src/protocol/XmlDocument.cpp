#include "protocol/XmlDocument.h"

#include <climits>

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

namespace penlark::xml {
namespace {

constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING |
                              // Large documents travel as one text node.
                              XML_PARSE_HUGE;

struct ContextDeleter {
  void operator()(xmlParserCtxt* context) const { xmlFreeParserCtxt(context); }
};

// Called when a document type declaration starts: stop before any declaration in it is read.
void RefuseDocumentType(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
  xmlStopParser(static_cast<xmlParserCtxt*>(context));
}

// libxml2 reports some errors (of character encoding conversion, for one) on standard error
// whatever the parse options say; the caller learns of them from the missing document.
void IgnoreMessage(void*, const char*, ...) {}

void InitialiseOnce() {
  static const bool initialised = [] {
    xmlInitParser();
    xmlThrDefSetGenericErrorFunc(nullptr, IgnoreMessage);  // for threads that parse later
    xmlSetGenericErrorFunc(nullptr, IgnoreMessage);
    return true;
  }();
  (void)initialised;
}

}  // namespace

Document Parse(std::string_view text, InputEncoding encoding) {
  InitialiseOnce();
  if (text.size() > static_cast<std::size_t>(INT_MAX)) {
    return nullptr;
  }
  const std::unique_ptr<xmlParserCtxt, ContextDeleter> context(xmlNewParserCtxt());
  if (context == nullptr) {
    return nullptr;
  }
  context->sax->internalSubset = RefuseDocumentType;
  return Document(xmlCtxtReadMemory(context.get(), text.data(), static_cast<int>(text.size()),
                                    nullptr, encoding == InputEncoding::Utf8 ? "UTF-8" : nullptr,
                                    kParseOptions));
}

std::string QualifiedName(const xmlNode* node) {
  std::string name;
  if (node->ns != nullptr && node->ns->prefix != nullptr) {
    name.append(AsView(node->ns->prefix)).push_back(':');
  }
  name.append(AsView(node->name));
  return name;
}

bool IsElement(const xmlNode* node, std::string_view localName, std::string_view namespaceUri) {
  if (node == nullptr || node->type != XML_ELEMENT_NODE || AsView(node->name) != localName) {
    return false;
  }
  return AsView(node->ns == nullptr ? nullptr : node->ns->href) == namespaceUri;
}

std::string_view AsView(const xmlChar* text) {
  return text == nullptr ? std::string_view()
                         : std::string_view(reinterpret_cast<const char*>(text));
}

const xmlNode* NextInDocument(const xmlNode* node, const xmlNode* root) {
  if (node->type == XML_ELEMENT_NODE && node->children != nullptr) {
    return node->children;
  }
  while (node != root && node->next == nullptr) {
    node = node->parent;
  }
  return node == root ? nullptr : node->next;
}

void AppendTextContent(std::string& out, const xmlNode* node) {
  for (const xmlNode* current = node; current != nullptr; current = NextInDocument(current, node)) {
    if (current->type == XML_TEXT_NODE || current->type == XML_CDATA_SECTION_NODE) {
      out.append(AsView(current->content));
    }
  }
}

std::string TextContent(const xmlNode* node) {
  std::string text;
  AppendTextContent(text, node);
  return text;
}

const xmlAttr* FindAttribute(const xmlNode* element, std::string_view name) {
  for (const xmlAttr* attribute = element->properties; attribute != nullptr;
       attribute = attribute->next) {
    if (attribute->ns == nullptr && AsView(attribute->name) == name) {
      return attribute;
    }
  }
  return nullptr;
}

std::string AttributeValue(const xmlAttr* attribute) {
  std::string value;
  for (const xmlNode* child = attribute->children; child != nullptr; child = child->next) {
    AppendTextContent(value, child);
  }
  return value;
}

bool IsBlankText(const xmlNode* node) {
  return node->type == XML_TEXT_NODE && xmlIsBlankNode(node) != 0;
}

}  // namespace penlark::xml

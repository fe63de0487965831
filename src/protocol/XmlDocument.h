#pragma once

#include <memory>
#include <string>
#include <string_view>

#include <libxml/tree.h>

// Reading XML that comes from the network or from disk with libxml2, safely: no network access,
// documents with a document type declaration are refused, so that no entity is ever declared,
// loaded or expanded, and so is markup beyond the bounds of platform/XmlMarkupBounds, so that
// parsing takes time and memory in proportion to the text. The first well-formedness error
// ends the parse.
namespace penlark::xml {

struct DocumentDeleter {
  void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};
using Document = std::unique_ptr<xmlDoc, DocumentDeleter>;

enum class InputEncoding {
  Declared,  // bytes as received: the first bytes or the XML declaration say how they are encoded
             // (they are converted to UTF-8 before anything else reads them)
  Utf8,      // text already decoded to UTF-8; an encoding in the declaration is ignored
};

// The parsed document, or nullptr when the text is not well-formed XML (or holds a document
// type declaration).
Document Parse(std::string_view text, InputEncoding encoding);

// libxml2's text as a view; "" for none.
std::string_view AsView(const xmlChar* text);

// The node after `node` in document order among the descendants of `root` (`node` being
// `root` or one of them); nullptr after the last.
const xmlNode* NextInDocument(const xmlNode* node, const xmlNode* root);

// The element's or attribute's name as written, with its prefix: "method:sendRequest".
std::string QualifiedName(const xmlNode* node);

// True for an element with this local name in this namespace ("" for no namespace).
bool IsElement(const xmlNode* node, std::string_view localName, std::string_view namespaceUri);

// Appends the text of a node and of all its descendants (text and CDATA) in document order.
void AppendTextContent(std::string& out, const xmlNode* node);
std::string TextContent(const xmlNode* node);

// The attribute of this name in no namespace, or nullptr.
const xmlAttr* FindAttribute(const xmlNode* element, std::string_view name);

// An attribute's value, its references resolved.
std::string AttributeValue(const xmlAttr* attribute);

// A whitespace-only text node, which documents read with default whitespace handling drop.
bool IsBlankText(const xmlNode* node);

}  // namespace penlark::xml

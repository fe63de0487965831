#include "protocol/XmlDocument.h"

#include "platform/Utils.h"
#include "platform/XmlMarkupBounds.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <optional>

#ifndef _WIN32
#include <iconv.h>
#endif

#include <libxml/encoding.h>
#include <libxml/parser.h>
#include <libxml/xmlerror.h>

namespace penlark::xml {
namespace {

constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING |
                              // Large documents travel as one text node.
                              XML_PARSE_HUGE | XML_PARSE_IGNORE_ENC;

struct ContextDeleter {
  void operator()(xmlParserCtxt* context) const { xmlFreeParserCtxt(context); }
};

// The first well-formedness error ends the parse: libxml2 would otherwise read on past it, in
// places that the markup bounds were not checked for.
void StopAtFatalError(void* context, xmlErrorPtr error) {
  if (error != nullptr && error->level == XML_ERR_FATAL) {
    auto* parser = static_cast<xmlParserCtxt*>(context);
    parser->instate = XML_PARSER_EOF;
    parser->disableSAX = 1;
  }
}

// Names of encodings under which text whose first bytes look like ASCII is read as UTF-8 (as
// libxml2 does with a "UTF-16" label on such text).
bool IsUtf8Name(std::string_view name) {
  constexpr std::array<std::string_view, 6> kNames = {"UTF-8", "UTF8",   "US-ASCII",
                                                      "ASCII", "UTF-16", "UTF16"};
  return std::any_of(kNames.begin(), kNames.end(),
                     [&](std::string_view known) { return EqualsNoCase(name, known); });
}

// The encoding of text that says or shows it is not UTF-8: by its first bytes (a byte order
// mark, UTF-16 or UCS-4), else by the encoding named in its XML declaration.
std::optional<std::string> ForeignEncoding(std::string_view text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const xmlCharEncoding detected =
      xmlDetectCharEncoding(bytes, static_cast<int>(std::min<std::size_t>(text.size(), 4)));
  if (detected != XML_CHAR_ENCODING_NONE && detected != XML_CHAR_ENCODING_UTF8) {
    const char* name = xmlGetCharEncodingName(detected);
    return name == nullptr ? "" : name;
  }
  constexpr std::size_t kLongestDeclaration = 1024;
  const std::string_view declaration = text.substr(0, text.find("?>", 0));
  if (!text.starts_with("<?xml") || declaration.size() > kLongestDeclaration) {
    return std::nullopt;
  }
  std::size_t at = declaration.find("encoding");
  at = declaration.find_first_of("\"'", at);
  if (at == std::string_view::npos) {
    return std::nullopt;
  }
  const std::size_t end = declaration.find(declaration[at], at + 1);
  const std::string_view name = declaration.substr(at + 1, end - at - 1);
  return IsUtf8Name(name) ? std::nullopt : std::optional<std::string>(name);
}

// The text converted from `encoding` to UTF-8; nullopt when the encoding is unknown or the
// text is not in it.
#ifdef _WIN32
// Windows has no iconv: libxml2's own converters (the UTF-16 and UCS-4 forms, ASCII and the
// ISO 8859 family).
std::optional<std::string> ToUtf8(std::string_view text, const std::string& encoding) {
  xmlCharEncodingHandler* const handler = xmlFindCharEncodingHandler(encoding.c_str());
  if (handler == nullptr || handler->input == nullptr) {
    return std::nullopt;
  }
  constexpr std::size_t kChunk = std::size_t{1} << 20;
  const auto* in = reinterpret_cast<const unsigned char*>(text.data());
  std::size_t left = text.size();
  std::string utf8;
  while (left > 0) {
    int inLength = static_cast<int>(std::min(left, kChunk));
    int outLength = inLength * 4;  // at most four bytes of UTF-8 for each byte read
    const std::size_t filled = utf8.size();
    utf8.resize(filled + static_cast<std::size_t>(outLength));
    if (handler->input(reinterpret_cast<unsigned char*>(utf8.data() + filled), &outLength, in,
                       &inLength) < 0 ||
        inLength == 0) {
      xmlCharEncCloseFunc(handler);
      return std::nullopt;
    }
    utf8.resize(filled + static_cast<std::size_t>(outLength));
    in += inLength;
    left -= static_cast<std::size_t>(inLength);
  }
  xmlCharEncCloseFunc(handler);
  // As iconv does, the byte order mark is read, not passed on.
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (utf8.starts_with(kByteOrderMark)) {
    utf8.erase(0, kByteOrderMark.size());
  }
  return utf8;
}
#else
std::optional<std::string> ToUtf8(std::string_view text, const std::string& encoding) {
  const iconv_t converter = ::iconv_open("UTF-8", encoding.c_str());
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    return std::nullopt;
  }
  std::string utf8(text.size() * 2 + 16, '\0');
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  std::size_t filled = 0;
  bool converted = true;
  while (inLeft > 0) {
    char* out = utf8.data() + filled;
    std::size_t outLeft = utf8.size() - filled;
    const std::size_t result = ::iconv(converter, &in, &inLeft, &out, &outLeft);
    filled = utf8.size() - outLeft;
    if (result == static_cast<std::size_t>(-1) && errno == E2BIG) {
      utf8.resize(utf8.size() * 2);
    } else if (result == static_cast<std::size_t>(-1)) {
      converted = false;
      break;
    }
  }
  ::iconv_close(converter);
  if (!converted) {
    return std::nullopt;
  }
  utf8.resize(filled);
  return utf8;
}
#endif

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
  if (encoding == InputEncoding::Declared) {
    if (const std::optional<std::string> foreign = ForeignEncoding(text)) {
      const std::optional<std::string> utf8 = ToUtf8(text, *foreign);
      return utf8 ? Parse(*utf8, InputEncoding::Utf8) : nullptr;
    }
  }
  InitialiseOnce();
  if (text.size() > static_cast<std::size_t>(INT_MAX) || !XmlMarkupWithinBounds(text)) {
    return nullptr;
  }
  std::string_view unread = text;
  const std::unique_ptr<xmlParserCtxt, ContextDeleter> context(xmlCreateIOParserCtxt(
      nullptr, nullptr, ReadFromView, nullptr, &unread, XML_CHAR_ENCODING_NONE));
  if (context == nullptr) {
    return nullptr;
  }
  context->sax->serror = StopAtFatalError;
  xmlCtxtUseOptions(context.get(), kParseOptions);
  // The text is UTF-8: neither its first bytes nor its declaration switch the decoding.
  context->encoding = xmlStrdup(reinterpret_cast<const xmlChar*>("UTF-8"));
  xmlParseDocument(context.get());
  Document document(context->myDoc);
  context->myDoc = nullptr;
  return context->wellFormed ? std::move(document) : nullptr;
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

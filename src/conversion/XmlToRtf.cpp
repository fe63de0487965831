// The server's XML document form back to RTF bytes, read with libxml2's SAX2 interface: the text
// streams through once, the RTF is appended as elements arrive, and no tree is built, so memory
// stays near the size of the text and the output, and no nesting depth can overflow our stack.
// The form never needs a document type declaration: text with one is not loadable, so no entity
// beyond the predefined ones is ever expanded.

#include "conversion/Transform.h"
#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/Utils.h"
#include "platform/XmlMarkupBounds.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <memory>
#include <mutex>

#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>

namespace penlark {
namespace {

std::string_view View(const xmlChar* text, std::size_t length) {
  return {reinterpret_cast<const char*>(text), length};
}

bool Named(const xmlChar* localName, const xmlChar* prefix, const char* name) {
  return prefix == nullptr && std::strcmp(reinterpret_cast<const char*>(localName), name) == 0;
}

// The reading rules, fed by the SAX callbacks. Only a root element `Document` is used; inside
// it and inside each `G`, a `G` gives its braces around its content, a `C` the value of its
// attribute `id`, a `D` all character data within it; any other element is skipped with its
// content, and text standing directly in `Document` or `G` is ignored.
class RtfBuilder {
 public:
  explicit RtfBuilder(std::size_t expectedSize) { rtf_.reserve(expectedSize); }

  void StartElement(xmlParserCtxtPtr context, const xmlChar* localName, const xmlChar* prefix,
                    int attributeCount, const xmlChar** attributes) {
    switch (place_) {
      case Place::BeforeRoot:
        if (Named(localName, prefix, "Document")) {
          sawDocument_ = true;
          place_ = Place::Structure;
        } else {
          Enter(Place::Skipped, Place::AfterRoot);
        }
        break;
      case Place::Structure:
        if (Named(localName, prefix, "G")) {
          rtf_.push_back('{');
          ++openGroups_;
        } else if (Named(localName, prefix, "C")) {
          AppendId(context, attributeCount, attributes);
          Enter(Place::Skipped, Place::Structure);
        } else if (Named(localName, prefix, "D")) {
          Enter(Place::Text, Place::Structure);
        } else {
          Enter(Place::Skipped, Place::Structure);
        }
        break;
      case Place::Text:
      case Place::Skipped:
        ++openInside_;
        break;
      case Place::AfterRoot:
        break;
    }
  }

  void EndElement() {
    if (place_ == Place::Text || place_ == Place::Skipped) {
      if (--openInside_ == 0) {
        place_ = resume_;
      }
    } else if (place_ == Place::Structure) {
      if (openGroups_ > 0) {
        rtf_.push_back('}');
        --openGroups_;
      } else {
        place_ = Place::AfterRoot;
      }
    }
  }

  void Characters(const xmlChar* text, int length) {
    if (place_ == Place::Text) {
      codepage::AppendUtf8AsAnsi(rtf_, View(text, static_cast<std::size_t>(length)));
    }
  }

  bool SawDocument() const { return sawDocument_; }
  bool Refused() const { return refused_; }
  std::string TakeRtf() { return std::move(rtf_); }

 private:
  enum class Place { BeforeRoot, Structure, Text, Skipped, AfterRoot };

  void Enter(Place place, Place resume) {
    place_ = place;
    resume_ = resume;
    openInside_ = 1;
  }

  // Attributes come as five pointers each: local name, prefix, URI, value start, value end.
  void AppendId(xmlParserCtxtPtr context, int attributeCount, const xmlChar** attributes) {
    for (int i = 0; i < attributeCount; ++i) {
      const xmlChar** attribute = attributes + 5 * i;
      if (!Named(attribute[0], attribute[1], "id")) {
        continue;
      }
      const auto value = View(attribute[3], static_cast<std::size_t>(attribute[4] - attribute[3]));
      if (value.find('&') == std::string_view::npos) {
        codepage::AppendUtf8AsAnsi(rtf_, value);
      } else {
        AppendDecodedValue(context, value);
      }
    }
  }

  // The parser hands attribute values over with their entity references, and "&" itself as
  // "&#38;", still in place; they are resolved here, under the parser's own depth and
  // expansion limits. A value they refuse refuses the whole text.
  void AppendDecodedValue(xmlParserCtxtPtr context, std::string_view value) {
    ++context->depth;
    xmlChar* decoded =
        xmlStringLenDecodeEntities(context, reinterpret_cast<const xmlChar*>(value.data()),
                                   static_cast<int>(value.size()), XML_SUBSTITUTE_REF, 0, 0, 0);
    --context->depth;
    if (decoded == nullptr) {
      refused_ = true;
      xmlStopParser(context);
      return;
    }
    codepage::AppendUtf8AsAnsi(rtf_, reinterpret_cast<const char*>(decoded));
    xmlFree(decoded);
  }

  Place place_ = Place::BeforeRoot;
  Place resume_ = Place::BeforeRoot;  // where a `D` or a skipped element returns to
  std::size_t openInside_ = 0;  // elements open in that `D` or skipped element, itself included
  std::size_t openGroups_ = 0;
  bool sawDocument_ = false;
  bool refused_ = false;
  std::string rtf_;
};

// The SAX callbacks receive the parser context (that of an entity's replacement text while it
// is read); the builder hangs from its _private field, which libxml2 hands on to those. An
// exception (out of memory) must not cross the C library: it stops the parse and is kept.
struct Session {
  RtfBuilder builder;
  std::exception_ptr error;
};

Session& SessionOf(void* context) {
  return *static_cast<Session*>(static_cast<xmlParserCtxtPtr>(context)->_private);
}

template <typename Action>
void Guarded(void* context, Action&& action) {
  Session& session = SessionOf(context);
  if (session.error) {
    return;
  }
  try {
    action(session.builder);
  } catch (...) {
    session.error = std::current_exception();
    xmlStopParser(static_cast<xmlParserCtxtPtr>(context));
  }
}

void OnStartElement(void* context, const xmlChar* localName, const xmlChar* prefix,
                    const xmlChar* /*uri*/, int /*namespaceCount*/, const xmlChar** /*namespaces*/,
                    int attributeCount, int /*defaultedCount*/, const xmlChar** attributes) {
  Guarded(context, [&](RtfBuilder& builder) {
    builder.StartElement(static_cast<xmlParserCtxtPtr>(context), localName, prefix, attributeCount,
                         attributes);
  });
}

void OnEndElement(void* context, const xmlChar* /*localName*/, const xmlChar* /*prefix*/,
                  const xmlChar* /*uri*/) {
  Guarded(context, [](RtfBuilder& builder) { builder.EndElement(); });
}

void OnCharacters(void* context, const xmlChar* text, int length) {
  Guarded(context, [&](RtfBuilder& builder) { builder.Characters(text, length); });
}

// The first well-formedness error ends the parse, as the text is refused anyway: libxml2 would
// otherwise read on past it, in places that the markup bounds were not checked for.
void StopAtFatalError(void* context, xmlErrorPtr error) {
  if (error != nullptr && error->level == XML_ERR_FATAL) {
    auto* parser = static_cast<xmlParserCtxtPtr>(context);
    parser->instate = XML_PARSER_EOF;
    parser->disableSAX = 1;
  }
}

struct ContextDeleter {
  void operator()(xmlParserCtxtPtr context) const {
    if (context->myDoc != nullptr) {
      xmlFreeDoc(context->myDoc);  // the empty document SAX2's start of document makes
      context->myDoc = nullptr;
    }
    xmlFreeParserCtxt(context);
  }
};
using Context = std::unique_ptr<xmlParserCtxt, ContextDeleter>;

// A parser that keeps libxml2's own handling of the prolog and routes the document's content to
// the builder. No validation, no DTD or external entity is loaded, no network, whitespace is
// kept, and the text is taken as the UTF-8 it is: neither its first bytes nor an encoding
// declaration switch the decoding. Any nesting depth is read (libxml2 reads elements without
// recursion, and so does the builder), so that whatever RtfToXml writes loads again; with no
// document type declaration there is no entity whose expansion the lifted limits would let grow.
Context MakeParser(std::string_view& unread, Session& session) {
  static std::once_flag initialised;
  std::call_once(initialised, [] { xmlInitParser(); });

  xmlSAXHandler sax{};
  xmlSAXVersion(&sax, 2);
  sax.startElementNs = OnStartElement;
  sax.endElementNs = OnEndElement;
  sax.characters = OnCharacters;
  sax.ignorableWhitespace = OnCharacters;
  sax.cdataBlock = OnCharacters;
  sax.startElement = nullptr;
  sax.endElement = nullptr;
  sax.reference = nullptr;
  sax.comment = nullptr;
  sax.processingInstruction = nullptr;
  sax.externalSubset = nullptr;
  sax.resolveEntity = nullptr;
  sax.serror = StopAtFatalError;
  Context context(
      xmlCreateIOParserCtxt(&sax, nullptr, ReadFromView, nullptr, &unread, XML_CHAR_ENCODING_NONE));
  if (context == nullptr) {
    throw std::bad_alloc();
  }
  xmlCtxtUseOptions(context.get(), XML_PARSE_NONET | XML_PARSE_IGNORE_ENC | XML_PARSE_HUGE);
  context->_private = &session;
  context->encoding = xmlStrdup(reinterpret_cast<const xmlChar*>("UTF-8"));  // no detection
  return context;
}

}  // namespace

RtfFromXml XmlToRtf(std::string_view xmlText) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (xmlText.starts_with(kByteOrderMark)) {
    xmlText.remove_prefix(kByteOrderMark.size());
  }
  if (!XmlMarkupWithinBounds(xmlText)) {
    return {};
  }
  Session session{RtfBuilder(xmlText.size())};
  std::string_view unread = xmlText;
  Context context = MakeParser(unread, session);
  xmlParseDocument(context.get());
  if (session.error) {
    std::rethrow_exception(session.error);
  }
  if (!context->wellFormed || session.builder.Refused()) {
    return {};
  }
  if (!session.builder.SawDocument()) {
    return {XmlDocumentStatus::NoDocument, {}};
  }
  return {XmlDocumentStatus::Converted, session.builder.TakeRtf()};
}

XmlDocumentStatus ConvertXmlToRtfFile(std::string_view xmlText,
                                      const std::filesystem::path& rtfPath) {
  const RtfFromXml result = XmlToRtf(xmlText);
  if (result.status == XmlDocumentStatus::Converted) {
    try {
      // A document from the server is for its user's eyes only.
      ReplaceFile(rtfPath, result.rtf,
                  std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    } catch (const std::filesystem::filesystem_error& error) {
      throw ConversionError(error);
    }
  }
  return result.status;
}

bool XmlToRtfFile(std::string_view xmlText, const std::filesystem::path& rtfPath) {
  return ConvertXmlToRtfFile(xmlText, rtfPath) != XmlDocumentStatus::NotLoadable;
}

}  // namespace penlark

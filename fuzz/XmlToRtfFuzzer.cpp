// Arbitrary text to XmlToRtfFile must never crash, must leave no file when the text does not
// give a document, and must write what the in-memory conversion gives. For text without a
// document type declaration, the result is also checked against a plain reading of libxml2's
// tree, which follows the reading rules in the most direct way.

#include "conversion/Transform.h"
#include "platform/CodePage.h"
#include "platform/XmlMarkupBounds.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <unistd.h>

#include <libxml/parser.h>
#include <libxml/tree.h>

namespace {

// A folder of our own for the written file, removed at exit.
class Scratch {
 public:
  Scratch() {
    std::string pattern = (std::filesystem::temp_directory_path() / "penlark-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      std::abort();
    }
    directory_ = pattern;
    file_ = (directory_ / "out.rtf").string();
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
  }
  const std::string& File() const { return file_; }

 private:
  std::filesystem::path directory_;
  std::string file_;
};

bool Named(const xmlNode* node, const char* name) {
  return (node->ns == nullptr || node->ns->prefix == nullptr) &&
         std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

void AppendAnsi(std::string& out, xmlChar* text) {
  if (text != nullptr) {
    out += penlark::codepage::Utf8ToAnsi(reinterpret_cast<const char*>(text));
    xmlFree(text);
  }
}

void WriteChildren(const xmlNode* parent, std::string& out) {
  for (const xmlNode* child = parent->children; child != nullptr; child = child->next) {
    if (child->type != XML_ELEMENT_NODE) {
      continue;
    }
    if (Named(child, "G")) {
      out += '{';
      WriteChildren(child, out);
      out += '}';
    } else if (Named(child, "C")) {
      for (const xmlAttr* attribute = child->properties; attribute != nullptr;
           attribute = attribute->next) {
        if (attribute->ns == nullptr &&
            std::strcmp(reinterpret_cast<const char*>(attribute->name), "id") == 0) {
          AppendAnsi(out, xmlNodeListGetString(child->doc, attribute->children, 1));
        }
      }
    } else if (Named(child, "D")) {
      AppendAnsi(out, xmlNodeGetContent(child));
    }
  }
}

void IgnoreMessage(void* /*context*/, const char* /*format*/, ...) {}

penlark::RtfFromXml ReadThroughTree(std::string_view text) {
  // Keeps the tree parser's messages (validity notes on xml:id and the like) out of the log.
  xmlSetGenericErrorFunc(nullptr, IgnoreMessage);
  xmlDoc* doc = xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, "UTF-8",
                              XML_PARSE_NONET | XML_PARSE_IGNORE_ENC | XML_PARSE_NOERROR |
                                  XML_PARSE_NOWARNING | XML_PARSE_HUGE);
  if (doc == nullptr) {
    return {};
  }
  penlark::RtfFromXml result{penlark::XmlDocumentStatus::NoDocument, {}};
  const xmlNode* root = xmlDocGetRootElement(doc);
  if (root != nullptr && Named(root, "Document")) {
    result.status = penlark::XmlDocumentStatus::Converted;
    WriteChildren(root, result.rtf);
  }
  xmlFreeDoc(doc);
  return result;
}

std::string FileContent(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const Scratch scratch;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const penlark::RtfFromXml inMemory = penlark::XmlToRtf(text);
  ::unlink(scratch.File().c_str());
  const penlark::XmlDocumentStatus status = penlark::ConvertXmlToRtfFile(text, scratch.File());
  if (status != inMemory.status) {
    std::abort();
  }
  const bool written = std::filesystem::exists(scratch.File());
  if (written != (status == penlark::XmlDocumentStatus::Converted)) {
    std::abort();
  }
  if (written && FileContent(scratch.File()) != inMemory.rtf) {
    std::abort();
  }

  // Markup beyond the bounds, a document type declaration among it, is never loaded; within
  // them, the tree parser must read the same.
  const bool withinBounds = penlark::XmlMarkupWithinBounds(text);
  if (!withinBounds && status != penlark::XmlDocumentStatus::NotLoadable) {
    std::abort();
  }
  const bool plainText = withinBounds && !text.starts_with("\xEF\xBB\xBF") && text.size() < 4096;
  if (plainText) {
    const penlark::RtfFromXml expected = ReadThroughTree(text);
    if (expected.status != inMemory.status || expected.rtf != inMemory.rtf) {
      std::abort();
    }
  }
  return 0;
}

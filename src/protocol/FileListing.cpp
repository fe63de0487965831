#include "protocol/FileListing.h"

#include "protocol/XmlDocument.h"

#include <algorithm>
#include <charconv>

namespace penlark {
namespace {

constexpr std::string_view kListingRoot = "files";

std::int16_t ToInt16(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  text = first == std::string_view::npos ? std::string_view() : text.substr(first);
  text = text.substr(0, text.find_last_not_of(' ') + 1);
  if (text.starts_with('+')) {
    text.remove_prefix(1);
  }
  std::int16_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error == std::errc::result_out_of_range) {
    throw ListingError("Overflow");
  }
  if (error != std::errc() || end != text.data() + text.size()) {
    throw ListingError("Type mismatch");
  }
  return value;
}

// An attribute's value, read in place when it is one piece of text (as it nearly always is):
// listings of many entries are read without a copy of every value.
std::string_view ValueOf(const xmlAttr* attribute, std::string& buffer) {
  const xmlNode* text = attribute->children;
  if (text != nullptr && text->next == nullptr && text->type == XML_TEXT_NODE) {
    return xml::AsView(text->content);
  }
  buffer = xml::AttributeValue(attribute);
  return buffer;
}

// The root's children as a DOM with default whitespace handling sees them.
std::vector<const xmlNode*> Entries(const xmlNode* root) {
  std::vector<const xmlNode*> entries;
  for (const xmlNode* child = root->children; child != nullptr; child = child->next) {
    if (!xml::IsBlankText(child)) {
      entries.push_back(child);
    }
  }
  return entries;
}

}  // namespace

void FileListing::Parse(std::string_view reply) {
  const xml::Document document = xml::Parse(reply, xml::InputEncoding::Utf8);
  const xmlNode* root = document ? xmlDocGetRootElement(document.get()) : nullptr;
  if (root == nullptr) {
    Reset(1);
    lastRead_ = ListingRead::Unreadable;
    return;
  }
  if (xml::QualifiedName(root) != kListingRoot) {
    lastRead_ = ListingRead::OtherRoot;
    return;
  }
  const std::vector<const xmlNode*> entries = Entries(root);
  Reset(entries.size());
  lastRead_ = entries.empty() ? ListingRead::Emptied : ListingRead::Entries;
  std::string buffer;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i]->type != XML_ELEMENT_NODE) {
      continue;
    }
    for (const xmlAttr* attribute = entries[i]->properties; attribute != nullptr;
         attribute = attribute->next) {
      if (attribute->ns != nullptr) {
        continue;
      }
      const std::string_view name = xml::AsView(attribute->name);
      if (name == "name") {
        names_[i] = ValueOf(attribute, buffer);
      } else if (name == "type") {
        types_[i] = ToInt16(ValueOf(attribute, buffer));
      } else if (name == "access") {
        access_[i] = ToInt16(ValueOf(attribute, buffer));
      }
    }
  }
}

std::int16_t FileListing::TypeOf(std::string_view name) const {
  const auto found = std::find(names_.begin(), names_.end(), name);
  return found == names_.end() ? std::int16_t{0}
                               : types_[static_cast<std::size_t>(found - names_.begin())];
}

bool FileListing::Contains(std::string_view name) const {
  return std::find(names_.begin(), names_.end(), name) != names_.end();
}

void FileListing::Reset(std::size_t count) {
  names_.assign(count, std::string());
  types_.assign(count, 0);
  access_.assign(count, 0);
}

}  // namespace penlark

#include "protocol/TarnwellRequests.h"

#include "protocol/XmlEscape.h"

#include <initializer_list>
#include <utility>

namespace penlark::requests {
namespace {

using Attribute = std::pair<std::string_view, std::string_view>;

constexpr std::string_view kEnd = " />";
// The createFolder element alone has always ended with two spaces.
constexpr std::string_view kCreateFolderEnd = "  />";

std::string Element(std::string_view name, std::initializer_list<Attribute> attributes,
                    std::string_view end = kEnd) {
  std::string element = "<" + std::string(name);
  for (const auto& [attribute, value] : attributes) {
    element.append(" ").append(attribute).append("=\"").append(xml::EscapeAttribute(value));
    element.push_back('"');
  }
  element.append(end);
  return element;
}

// A document's request: the folder, the entry's name and type, the login, the version.
std::string EntryElement(std::string_view element, std::string_view dir, std::string_view name,
                         std::string_view type, std::string_view username,
                         std::string_view password, std::string_view end = kEnd) {
  return Element(element,
                 {{"dir", dir},
                  {"name", name},
                  {"type", type},
                  {"username", username},
                  {"password", password},
                  {"version", kProtocolVersion}},
                 end);
}

}  // namespace

std::string GetFiles(std::string_view dir, std::string_view username, std::string_view password) {
  return Element(
      "getFiles",
      {{"dir", dir}, {"username", username}, {"password", password}, {"vid", kProtocolVersion}});
}

std::string Delete(std::string_view dir, std::string_view name, std::int16_t type,
                   std::string_view username, std::string_view password) {
  return EntryElement("delete", dir, name, std::to_string(type), username, password);
}

std::string CreateFolder(std::string_view dir, std::string_view name, std::int16_t type,
                         std::string_view username, std::string_view password) {
  return EntryElement("createFolder", dir, name, std::to_string(type), username, password,
                      kCreateFolderEnd);
}

std::string GetContent(std::string_view dir, std::string_view name, std::int16_t type,
                       std::string_view username, std::string_view password) {
  return EntryElement("getContent", dir, name, std::to_string(type), username, password);
}

std::string SaveFile(std::string_view dir, std::string_view name, std::string_view username,
                     std::string_view password) {
  return EntryElement("saveFile", dir, name, "2", username, password);
}

}  // namespace penlark::requests

#include "protocol/XmlEscape.h"

#include <array>

namespace penlark::xml {
namespace {

using ByteSet = std::array<bool, 256>;

constexpr ByteSet MakeByteSet(std::string_view bytes) {
  ByteSet set{};
  for (const char byte : bytes) {
    set[static_cast<unsigned char>(byte)] = true;
  }
  return set;
}

constexpr ByteSet kTextSpecials = MakeByteSet("&<>\r");
constexpr ByteSet kAttributeSpecials = MakeByteSet("&<>\"\t\n\r");

std::string_view ReferenceFor(char c) {
  switch (c) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case '"':
      return "&quot;";
    case '\t':
      return "&#9;";
    case '\n':
      return "&#10;";
    default:
      return "&#13;";
  }
}

void AppendEscaped(std::string& out, std::string_view text, const ByteSet& specials) {
  std::size_t runStart = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (specials[static_cast<unsigned char>(text[i])]) {
      out.append(text.substr(runStart, i - runStart));
      out.append(ReferenceFor(text[i]));
      runStart = i + 1;
    }
  }
  out.append(text.substr(runStart));
}

}  // namespace

void AppendEscapedText(std::string& out, std::string_view text) {
  AppendEscaped(out, text, kTextSpecials);
}

std::string EscapeAttribute(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  AppendEscaped(out, value, kAttributeSpecials);
  return out;
}

}  // namespace penlark::xml

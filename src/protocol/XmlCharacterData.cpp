#include "protocol/XmlCharacterData.h"

#include "platform/Utf8.h"

#include <array>

namespace penlark::xml {
namespace {

// Bytes that end a run of plain ASCII character data.
constexpr std::array<bool, 256> MakeSpecialBytes() {
  std::array<bool, 256> special{};
  for (std::size_t byte = 0; byte < 256; ++byte) {
    special[byte] = byte < 0x20 || byte >= 0x80 || byte == '&' || byte == '<' || byte == ']';
  }
  return special;
}

constexpr std::array<bool, 256> kSpecialBytes = MakeSpecialBytes();

std::optional<char32_t> ParseNumber(std::string_view digits, int base) {
  if (digits.empty() || digits.size() > 8) {
    return std::nullopt;
  }
  char32_t value = 0;
  for (const char c : digits) {
    int digit = -1;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    }
    if (digit < 0 || digit >= base) {
      return std::nullopt;
    }
    value = value * static_cast<char32_t>(base) + static_cast<char32_t>(digit);
  }
  return value;
}

// The character a reference stands for; `reference` runs from after "&" to before ";".
std::optional<char32_t> ResolveReference(std::string_view reference) {
  if (reference.starts_with("#x")) {
    return ParseNumber(reference.substr(2), 16);
  }
  if (reference.starts_with('#')) {
    return ParseNumber(reference.substr(1), 10);
  }
  constexpr std::array<std::pair<std::string_view, char32_t>, 5> kEntities = {
      {{"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}}};
  for (const auto& [name, character] : kEntities) {
    if (reference == name) {
      return character;
    }
  }
  return std::nullopt;
}

}  // namespace

bool IsXmlChar(char32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

bool IsXmlText(std::string_view text) {
  std::size_t position = 0;
  while (position < text.size()) {
    const auto byte = static_cast<unsigned char>(text[position]);
    if (byte >= 0x20 && byte < 0x80) {
      ++position;
    } else if (!IsXmlChar(DecodeUtf8(text, position))) {
      return false;
    }
  }
  return true;
}

std::optional<std::string> DecodeCharacterData(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t position = 0;
  while (position < text.size()) {
    const std::size_t runStart = position;
    while (position < text.size() && !kSpecialBytes[static_cast<unsigned char>(text[position])]) {
      ++position;
    }
    out.append(text.substr(runStart, position - runStart));
    if (position == text.size()) {
      break;
    }
    const char c = text[position];
    if (c == '&') {
      const std::size_t end = text.find(';', position);
      const auto character = end == std::string_view::npos
                                 ? std::nullopt
                                 : ResolveReference(text.substr(position + 1, end - position - 1));
      if (!character || !IsXmlChar(*character)) {
        return std::nullopt;
      }
      AppendUtf8(out, *character);
      position = end + 1;
    } else if (c == '\r') {
      out.push_back('\n');
      position += text.substr(position).starts_with("\r\n") ? 2u : 1u;
    } else if (c == ']') {
      if (text.substr(position).starts_with("]]>")) {
        return std::nullopt;
      }
      out.push_back(c);
      ++position;
    } else if (c == '<') {
      return std::nullopt;
    } else {
      const std::size_t start = position;
      if (!IsXmlChar(DecodeUtf8(text, position))) {
        return std::nullopt;
      }
      out.append(text.substr(start, position - start));
    }
  }
  return out;
}

}  // namespace penlark::xml

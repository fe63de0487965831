#include "protocol/XmlCharacterData.h"

#include "platform/Utf8.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

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

int DigitValue(char c, int base) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (base == 16 && c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  if (base == 16 && c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}

struct Reference {
  char32_t character = 0;
  std::size_t length = 0;  // from "&" to ";", both included
};

// A character reference of one to eight digits at the start of `text`, after "&#" or "&#x".
std::optional<Reference> ReadCharacterReference(std::string_view text, std::size_t digitsStart,
                                                int base) {
  constexpr std::size_t kMostDigits = 8;
  const std::size_t limit = std::min(text.size(), digitsStart + kMostDigits + 1);
  char32_t value = 0;
  std::size_t at = digitsStart;
  for (; at < limit && text[at] != ';'; ++at) {
    const int digit = DigitValue(text[at], base);
    if (digit < 0) {
      return std::nullopt;
    }
    value = value * static_cast<char32_t>(base) + static_cast<char32_t>(digit);
  }
  if (at == limit || at == digitsStart) {
    return std::nullopt;
  }
  return Reference{value, at + 1};
}

// The reference at the start of `text`, which starts with "&".
std::optional<Reference> ReadReference(std::string_view text) {
  constexpr std::array<std::pair<std::string_view, char32_t>, 5> kEntities = {
      {{"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&quot;", '"'}, {"&apos;", '\''}}};
  for (const auto& [reference, character] : kEntities) {
    if (text.starts_with(reference)) {
      return Reference{character, reference.size()};
    }
  }
  if (text.starts_with("&#x")) {
    return ReadCharacterReference(text, 3, 16);
  }
  if (text.starts_with("&#")) {
    return ReadCharacterReference(text, 2, 10);
  }
  return std::nullopt;
}

// The bytes of an eight-byte word (read little-endian) that end a plain run, each marked by its
// high bit: the lowest marked byte is exact, those above it may be marked falsely.
std::uint64_t SpecialBytesOf(std::uint64_t word) {
  constexpr std::uint64_t kOnes = 0x0101010101010101;
  constexpr std::uint64_t kHighBits = kOnes * 0x80;
  const auto zeroBytes = [&](std::uint64_t x) { return (x - kOnes) & ~x & kHighBits; };
  // A byte below 0x20 borrows into its high bit; a byte from 0x80 up has it already.
  const std::uint64_t outsidePlainAscii = ((word - kOnes * 0x20) | word) & kHighBits;
  return outsidePlainAscii | zeroBytes(word ^ (kOnes * '&')) | zeroBytes(word ^ (kOnes * '<')) |
         zeroBytes(word ^ (kOnes * ']'));
}

// Copies the plain run at `position` to `out`, eight bytes at a time; moves both past it. The
// copy may write up to seven bytes beyond the run, within the room `out` has.
void CopyPlainRun(std::string_view text, std::size_t& position, char*& out) {
  static_assert(std::endian::native == std::endian::little);
  while (text.size() - position >= sizeof(std::uint64_t)) {
    std::uint64_t word = 0;
    std::memcpy(&word, text.data() + position, sizeof word);
    std::memcpy(out, &word, sizeof word);
    const std::uint64_t special = SpecialBytesOf(word);
    const std::size_t plain =
        special == 0 ? sizeof word : static_cast<std::size_t>(std::countr_zero(special)) / 8;
    position += plain;
    out += plain;
    if (plain < sizeof word) {
      return;
    }
  }
  while (position < text.size() && !kSpecialBytes[static_cast<unsigned char>(text[position])]) {
    *out++ = text[position++];
  }
}

// Decodes `text` to `out`, which has room for text.size() bytes: no construct of character data
// is shorter than what it stands for. Returns the end of the decoded text, or nullptr.
char* DecodeInto(std::string_view text, char* out) {
  std::size_t position = 0;
  while (true) {
    CopyPlainRun(text, position, out);
    if (position == text.size()) {
      return out;
    }
    const char c = text[position];
    if (c == '&') {
      const auto reference = ReadReference(text.substr(position));
      if (!reference || !IsXmlChar(reference->character)) {
        return nullptr;
      }
      out = WriteUtf8(out, reference->character);
      position += reference->length;
    } else if (static_cast<unsigned char>(c) >= 0x80) {
      const std::size_t start = position;
      if (!IsXmlChar(DecodeUtf8(text, position))) {
        return nullptr;
      }
      std::memcpy(out, text.data() + start, position - start);
      out += position - start;
    } else if (c == '\r') {
      *out++ = '\n';
      position += text.substr(position).starts_with("\r\n") ? 2u : 1u;
    } else if (c == ']') {
      if (text.substr(position).starts_with("]]>")) {
        return nullptr;
      }
      *out++ = c;
      ++position;
    } else if (c == '\t' || c == '\n') {
      *out++ = c;
      ++position;
    } else {
      return nullptr;  // "<" or a control character
    }
  }
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
  std::string out(text.size(), '\0');
  const char* end = DecodeInto(text, out.data());
  if (end == nullptr) {
    return std::nullopt;
  }
  out.resize(static_cast<std::size_t>(end - out.data()));
  return out;
}

}  // namespace penlark::xml

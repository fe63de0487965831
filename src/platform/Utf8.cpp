#include "platform/Utf8.h"

namespace penlark {
namespace {

unsigned char ByteAt(std::string_view text, std::size_t position) {
  return static_cast<unsigned char>(text[position]);
}

// The valid range of the second byte depends on the lead byte (Unicode Table 3-7).
bool IsValidSecondByte(unsigned char lead, unsigned char second) {
  switch (lead) {
    case 0xE0:
      return second >= 0xA0 && second <= 0xBF;
    case 0xED:
      return second >= 0x80 && second <= 0x9F;
    case 0xF0:
      return second >= 0x90 && second <= 0xBF;
    case 0xF4:
      return second >= 0x80 && second <= 0x8F;
    default:
      return second >= 0x80 && second <= 0xBF;
  }
}

bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

}  // namespace

char32_t DecodeUtf8(std::string_view text, std::size_t& position) {
  const unsigned char lead = ByteAt(text, position);
  if (lead < 0x80) {
    ++position;
    return lead;
  }
  std::size_t length = 0;
  char32_t codePoint = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    codePoint = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    codePoint = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    codePoint = lead & 0x07u;
  } else {
    ++position;
    return kInvalidCodePoint;
  }
  std::size_t consumed = 1;
  for (; consumed < length; ++consumed) {
    if (position + consumed >= text.size()) {
      break;
    }
    const unsigned char next = ByteAt(text, position + consumed);
    const bool valid = consumed == 1 ? IsValidSecondByte(lead, next) : IsContinuation(next);
    if (!valid) {
      break;
    }
    codePoint = (codePoint << 6) | (next & 0x3Fu);
  }
  position += consumed;
  return consumed == length ? codePoint : kInvalidCodePoint;
}

void AppendUtf8(std::string& out, char32_t codePoint) {
  char bytes[4];
  out.append(bytes, WriteUtf8(bytes, codePoint));
}

char* WriteUtf8(char* out, char32_t codePoint) {
  if (codePoint < 0x80) {
    *out++ = static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    *out++ = static_cast<char>(0xC0 | (codePoint >> 6));
    *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    *out++ = static_cast<char>(0xE0 | (codePoint >> 12));
    *out++ = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | (codePoint >> 18));
    *out++ = static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
  }
  return out;
}

}  // namespace penlark

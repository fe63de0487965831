#include "protocol/Encryption.h"

#include "platform/CodePage.h"

namespace penlark {
namespace {

enum class Direction { Encrypt, Decrypt };

// The upper-case letter of a code page byte, as the system's upper-casing gives it.
unsigned char UpperAnsi(unsigned char byte) {
  if ((byte >= 'a' && byte <= 'z') || (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7)) {
    return static_cast<unsigned char>(byte - 0x20);
  }
  switch (byte) {
    case 0x9A:  // s caron
    case 0x9C:  // oe
    case 0x9E:  // z caron
      return static_cast<unsigned char>(byte - 0x10);
    case 0xFF:  // y diaeresis
      return 0x9F;
    default:
      return byte;
  }
}

std::string Transform(std::string_view text, std::string_view password, Direction direction) {
  std::string key = codepage::Utf8ToAnsi(password);
  if (key.empty()) {
    return std::string(text);
  }
  for (char& c : key) {
    c = static_cast<char>(UpperAnsi(static_cast<unsigned char>(c)));
  }
  std::string bytes = codepage::Utf8ToAnsi(text);
  std::size_t keyIndex = 1 % key.size();
  for (char& c : bytes) {
    const auto k = static_cast<unsigned char>(key[keyIndex]);
    const auto x = static_cast<unsigned char>(c);
    const int shifted = direction == Direction::Encrypt ? x + k : x - k;
    c = static_cast<char>(static_cast<unsigned char>(shifted & 0xFF));
    keyIndex = keyIndex + 1 == key.size() ? 0 : keyIndex + 1;
  }
  return codepage::AnsiToUtf8(bytes);
}

}  // namespace

std::string Encryption::EncryptText(std::string_view strText, std::string_view strPwd) {
  return Transform(strText, strPwd, Direction::Encrypt);
}

std::string Encryption::DecryptText(std::string_view strText, std::string_view strPwd) {
  return Transform(strText, strPwd, Direction::Decrypt);
}

}  // namespace penlark

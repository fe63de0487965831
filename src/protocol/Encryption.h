#pragma once

#include <string>
#include <string_view>

namespace penlark {

// A repeating-key cipher over the 256 byte values of the ANSI code page. Texts are UTF-8; each
// character counts as its code page byte (codepage::Utf8ToAnsi), and the result is the UTF-8
// form of the output bytes, as long as the input. The password acts in upper case; with a
// password of L characters, text character p is shifted by the password's character
// (p + 1) mod L. An empty password leaves the text as it is.
class Encryption {
 public:
  static std::string EncryptText(std::string_view strText, std::string_view strPwd);
  static std::string DecryptText(std::string_view strText, std::string_view strPwd);
};

}  // namespace penlark

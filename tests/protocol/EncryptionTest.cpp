#include "platform/CodePage.h"
#include "protocol/Encryption.h"

#include <gtest/gtest.h>

namespace penlark {
namespace {

std::string Bytes(std::initializer_list<unsigned char> bytes) {
  return codepage::AnsiToUtf8(std::string(bytes.begin(), bytes.end()));
}

// Known encryptions, each decrypted back to its text.
TEST(Encryption, ShiftsEachCodeByThePasswordsCharactersInTurn) {
  const struct {
    std::string text, password, secret;
    const char* rule;
  } cases[] = {
      {"plain \u4E2D", "", "plain \u4E2D", "an empty password leaves the text as it is"},
      {"", "key", "", "an empty text stays empty"},
      {"ABC", "a", Bytes({130, 131, 132}), "one character, upper-cased (65), shifts every code"},
      {"x", "\u00E9\u00E9", Bytes({0x41}), "letters beyond ASCII are upper-cased too (0xC9)"},
      {std::string(6, '\0'), "xyz", Bytes({89, 90, 88, 89, 90, 88}),
       "the first character takes the password's second"},
      {Bytes({250}), "\n", Bytes({4}), "sums wrap around eight bits"},
      {Bytes({249}), "\n", Bytes({3}), "differences wrap around eight bits"},
  };
  for (const auto& row : cases) {
    EXPECT_EQ(Encryption::EncryptText(row.text, row.password), row.secret) << row.rule;
    EXPECT_EQ(Encryption::DecryptText(row.secret, row.password), row.text) << row.rule;
  }
}

}  // namespace
}  // namespace penlark

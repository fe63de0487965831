#include "platform/CodePage.h"
#include "protocol/Encryption.h"

#include <gtest/gtest.h>

namespace penlark {
namespace {

std::string Bytes(std::initializer_list<unsigned char> bytes) {
  std::string text;
  for (const unsigned char byte : bytes) {
    text.push_back(static_cast<char>(byte));
  }
  return codepage::AnsiToUtf8(text);
}

// Known encryptions, each decrypted back to its text.
TEST(Encryption, ShiftsEachCodeByThePasswordsCharactersInTurn) {
  const struct {
    std::string text;
    std::string password;
    std::string secret;
    const char* rule;
  } cases[] = {
      {"plain", "", "plain", "an empty password leaves the text as it is"},
      {"", "key", "", "an empty text stays empty"},
      {"ABC", "a", Bytes({130, 131, 132}), "one character, upper-cased (65), shifts every code"},
      {std::string(6, '\0'), "xyz", Bytes({89, 90, 88, 89, 90, 88}),
       "the first character takes the password's second"},
      {Bytes({250}), "\n", Bytes({4}), "sums wrap around eight bits"},
      {Bytes({249}), "\n", Bytes({3}), "differences wrap around eight bits"},
  };
  for (const auto& row : cases) {
    EXPECT_EQ(Encryption::EncryptText(row.text, row.password), row.secret) << row.rule;
    EXPECT_EQ(Encryption::DecryptText(row.secret, row.password), row.text) << row.rule;
  }
  EXPECT_EQ(Encryption::EncryptText("plain \u4E2D", ""), "plain \u4E2D");
}

TEST(Encryption, LowerCasePasswordActsAsItsUpperCase) {
  const std::string secret = Encryption::EncryptText("server\tuser\tpassword\r\n", "Glimmer42");
  EXPECT_EQ(Encryption::DecryptText(secret, "GLIMMER42"), "server\tuser\tpassword\r\n");
  EXPECT_EQ(Encryption::EncryptText("x", "\u00E9\u00E9"),
            Encryption::EncryptText("x", "\u00C9\u00C9"));
}

TEST(Encryption, EveryByteValueRoundTripsAsOneCharacter) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) {
    all.push_back(static_cast<char>(byte));
  }
  const std::string text = codepage::AnsiToUtf8(all);
  const std::string secret = Encryption::EncryptText(text, "Glimmer42");
  EXPECT_EQ(codepage::Utf8ToAnsi(secret).size(), all.size());
  EXPECT_EQ(Encryption::DecryptText(secret, "Glimmer42"), text);
}

TEST(Encryption, WorksBeyondSixteenBitPositions) {
  std::string text;
  for (int i = 0; i < 100'000; ++i) {
    text.push_back(static_cast<char>('a' + i % 26));
  }
  const std::string secret = Encryption::EncryptText(text, "ab");
  // Position 70,000 is even, so it is shifted by "B" (66).
  EXPECT_EQ(codepage::Utf8ToAnsi(secret)[70'000], static_cast<char>('a' + 70'000 % 26 + 66));
  EXPECT_EQ(Encryption::DecryptText(secret, "AB"), text);
}

}  // namespace
}  // namespace penlark

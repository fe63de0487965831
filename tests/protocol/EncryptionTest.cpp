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

TEST(Encryption, EmptyPasswordLeavesTheTextAsItIs) {
  EXPECT_EQ(Encryption::EncryptText("plain \u4E2D", ""), "plain \u4E2D");
  EXPECT_EQ(Encryption::DecryptText("plain", ""), "plain");
}

TEST(Encryption, EmptyTextGivesEmpty) {
  EXPECT_EQ(Encryption::EncryptText("", "key"), "");
  EXPECT_EQ(Encryption::DecryptText("", "key"), "");
}

TEST(Encryption, OneCharacterPasswordShiftsEveryCode) {
  // "a" acts as "A" (65): "ABC" -> 130, 131, 132.
  EXPECT_EQ(Encryption::EncryptText("ABC", "a"), Bytes({130, 131, 132}));
}

TEST(Encryption, FirstCharacterUsesThePasswordsSecondCharacter) {
  // "XYZ" upper-cased: 88, 89, 90. Shifts run 89, 90, 88, 89, 90, 88, ...
  EXPECT_EQ(Encryption::EncryptText(std::string(6, '\0'), "xyz"), Bytes({89, 90, 88, 89, 90, 88}));
}

TEST(Encryption, SumsAndDifferencesWrapAroundEightBits) {
  // 250 + 10 = 260 -> 4; 3 - 10 = -7 -> 249.
  EXPECT_EQ(Encryption::EncryptText(Bytes({250}), "\n"), Bytes({4}));
  EXPECT_EQ(Encryption::DecryptText(Bytes({3}), "\n"), Bytes({249}));
}

TEST(Encryption, LowerCasePasswordActsAsItsUpperCase) {
  const std::string secret = Encryption::EncryptText("server\tuser\tpassword\r\n", "Glimmer42");
  EXPECT_EQ(Encryption::DecryptText(secret, "GLIMMER42"), "server\tuser\tpassword\r\n");
  EXPECT_EQ(Encryption::EncryptText("x", "\u00E9\u00E9"),
            Encryption::EncryptText("x", "\u00C9\u00C9"));
}

TEST(Encryption, OutputHasAsManyCharactersAsTheInput) {
  const std::string text = "r\u00E9sum\u00E9 \u20AC";  // 8 code page characters
  const std::string secret = Encryption::EncryptText(text, "Glimmer42");
  EXPECT_EQ(codepage::Utf8ToAnsi(secret).size(), 8u);
  EXPECT_EQ(Encryption::DecryptText(secret, "Glimmer42"), text);
}

TEST(Encryption, EveryByteValueRoundTrips) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) {
    all.push_back(static_cast<char>(byte));
  }
  const std::string text = codepage::AnsiToUtf8(all);
  EXPECT_EQ(Encryption::DecryptText(Encryption::EncryptText(text, "Glimmer42"), "Glimmer42"), text);
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

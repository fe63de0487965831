#pragma once

#include <optional>
#include <string>
#include <string_view>

// The system's ANSI code page: Windows-1252. Its five undefined bytes (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) stand for U+0081, U+008D, U+008F, U+0090 and U+009D, so every one of the 256
// byte values survives a round trip through UTF-8. This is the one place that converts.
namespace penlark::codepage {

// What a character outside the code page, or ill-formed UTF-8, becomes in ANSI bytes.
inline constexpr char kReplacement = '?';

// The Unicode character a byte stands for.
char32_t ToUnicode(unsigned char byte);

// The byte that stands for a character, if the code page holds it.
std::optional<unsigned char> FromUnicode(char32_t codePoint);

// ANSI bytes to UTF-8 text.
std::string AnsiToUtf8(std::string_view ansi);

// AnsiToUtf8 on a buffer in place: the same result, without a second buffer of the whole text.
void AnsiToUtf8InPlace(std::string& text);

// UTF-8 text to ANSI bytes. Each character outside the code page, and each maximal ill-formed
// subpart of the UTF-8 text, becomes one kReplacement.
std::string Utf8ToAnsi(std::string_view utf8);

// Utf8ToAnsi, appending to `out`: for text that arrives in pieces of whole characters.
void AppendUtf8AsAnsi(std::string& out, std::string_view utf8);

}  // namespace penlark::codepage

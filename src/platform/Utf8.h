#pragma once

#include <string>
#include <string_view>

namespace penlark {

// Marks a byte sequence that is not well-formed UTF-8.
inline constexpr char32_t kInvalidCodePoint = 0xFFFFFFFF;

// Decodes the code point that starts at `position` and moves `position` past it.
// Ill-formed input (stray continuation bytes, overlong forms, surrogates, values above
// U+10FFFF, truncated sequences) gives kInvalidCodePoint and skips its maximal ill-formed
// subpart, at least one byte, as the Unicode standard recommends.
char32_t DecodeUtf8(std::string_view text, std::size_t& position);

// Appends the UTF-8 form of a code point (which must be a Unicode scalar value).
void AppendUtf8(std::string& out, char32_t codePoint);

// Writes the UTF-8 form of a code point (one to four bytes) at `out`; returns the end of it.
char* WriteUtf8(char* out, char32_t codePoint);

}  // namespace penlark

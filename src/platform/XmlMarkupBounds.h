#pragma once

#include <cstddef>
#include <string_view>

// A linear pass over XML text, before any parser sees it, that keeps the parser's work in
// proportion to the text. libxml2 compares each attribute of an element with all the earlier
// ones, and looks a prefix up among all the namespace declarations in scope; so the attributes
// of one element and the namespace declarations of a document are bounded here. The forms this
// system reads have a handful of each and no document type declaration, which is refused too.
//
// The text must be in an encoding in which every byte below 0x80 stands for that ASCII
// character (UTF-8). The pass reads markup as the XML grammar does for as long as the text is
// well-formed; a parser that stops at the first well-formedness error (as ours do) therefore
// meets no start tag that the pass has not counted.
namespace penlark {

inline constexpr std::size_t kMaxXmlAttributesPerElement = 32;
inline constexpr std::size_t kMaxXmlNamespaceDeclarations = 64;

// False when an element has more attributes or the text more namespace declarations than the
// bounds above, or when it holds a document type declaration (or other "<!" markup that is
// neither a comment nor a CDATA section).
bool XmlMarkupWithinBounds(std::string_view text);

}  // namespace penlark

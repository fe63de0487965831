#pragma once

#include <string>
#include <string_view>

// Escaping text for the XML this program writes, so that a conforming parser reads back exactly
// the characters that were written.
namespace penlark::xml {

// Character data: "&", "<" and ">" as entity references, and CR as "&#13;" so that it survives
// the parser's end-of-line handling.
void AppendEscapedText(std::string& out, std::string_view text);

// An attribute value written between double quotes: "&", "<", ">" and the quote as entity
// references, and TAB, LF and CR as character references so that attribute-value normalisation
// leaves them as they are.
std::string EscapeAttribute(std::string_view value);

}  // namespace penlark::xml

#pragma once

#include <optional>
#include <string>
#include <string_view>

// What XML allows as text, and reading character data without a parser.
namespace penlark::xml {

// True for a character an XML 1.0 document may hold.
bool IsXmlChar(char32_t c);

// True when `text` is UTF-8 made only of such characters.
bool IsXmlText(std::string_view text);

// The text of character data between two tags as a conforming parser reads it in a document
// without a document type declaration: references to the five predefined entities and character
// references resolved, line ends (CR LF and a lone CR) read as LF. nullopt when `text` is not
// such character data (it holds "<", "]]>", a malformed or unknown reference, ill-formed UTF-8,
// a character XML does not allow), and for character references of more than eight digits.
std::optional<std::string> DecodeCharacterData(std::string_view text);

}  // namespace penlark::xml

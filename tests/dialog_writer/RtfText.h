#pragma once

#include <string>
#include <string_view>

namespace penlark::testing {

// The text of an RTF document as UTF-8, for comparing documents that different programs wrote:
// control words and the groups that hold no text (font and colour tables, styles, document
// information, any "\*" group) are dropped, \par and \line become line breaks, \tab a tab, and
// \'hh and \uN become their characters. Leading and trailing white space is trimmed.
std::string RtfText(std::string_view rtf);

}  // namespace penlark::testing

#pragma once

#include <string>
#include <string_view>

// Small stateless helpers shared by every layer: the string cleaners and the rule that turns
// the server name a user types into the SOAP endpoint.
namespace penlark {

// The text without leading and trailing characters of code 32 or less (blanks, tabs, line
// ends, other control characters). Such characters inside the text stay.
std::string TrimControlChars(std::string_view text);

// Trims blanks (only " ") at both ends, then shrinks every run of `repeated` (one character,
// compared exactly) to a single one. CollapseRepeats("  a  b ", " ") == "a b".
std::string CollapseRepeats(std::string_view text, std::string_view repeated);

// The SOAP endpoint for the text of the server field, trimmed with TrimControlChars:
//   "host"            -> "http://host/servlet/XMLSOAPRouter" (also when "host" ends with "/")
//   "http://host/"    -> "http://host/servlet/XMLSOAPRouter"
//   "http://host"     -> "http://host/servlet/XMLSOAPRouter"
// "https://" is kept like "http://", and both schemes are recognised in any letter case.
std::string GetEndpointURL(std::string_view serverText);

// Whether two texts are equal, or `text` begins with `prefix`, with ASCII letters compared
// without regard to case (other bytes exactly): names of schemes, encodings, registry types.
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// The read callback of C libraries that pull their input in pieces (libxml2): copies up to
// `length` bytes from the front of the std::string_view at `view` into `buffer` and drops them
// from the view; the count copied, 0 at the end.
int ReadFromView(void* view, char* buffer, int length);

}  // namespace penlark

#pragma once

#include <string>
#include <string_view>

// Windows' UTF-16 text and the program's UTF-8, converted with the system's own calls.
namespace penlark {

std::string ToUtf8(std::wstring_view text);
std::wstring ToWide(std::string_view text);

}  // namespace penlark

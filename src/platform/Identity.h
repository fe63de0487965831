#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Who and where the program runs: the names the connection history is keyed on.
namespace penlark {

// The name of the user the process runs as; "" when it cannot be found.
std::string CurrentUserName();

// The name of this computer: its short host name (up to the first "."), so that it stays the
// same when the domain changes; "" when it cannot be found.
std::string CurrentComputerName();

// A name without its leading and trailing blanks and its control characters.
std::string CleanName(std::string_view name);

// The names are asked for into a buffer of this size, like the system calls they replace.
inline constexpr std::size_t kNameBufferSize = 512;

// The computer name a host name gives: the part before the first ".", cleaned of blanks.
std::string ComputerNameOf(std::string_view hostName);

}  // namespace penlark

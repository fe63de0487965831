#pragma once

#include <string>

// Who and where the program runs: the names the connection history is keyed on.
namespace penlark {

// The name of the user the process runs as; "" when it cannot be found.
std::string CurrentUserName();

// The name of this computer; "" when it cannot be found.
std::string CurrentComputerName();

}  // namespace penlark

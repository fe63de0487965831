#pragma once

#include <span>
#include <string_view>

// The commands of penlark. Each takes the arguments after its name and returns the exit
// status: 0 on success, 1 on failure, 2 for arguments it does not understand.
namespace penlark::cli {

using Arguments = std::span<const std::string_view>;

int RunSettings(Arguments args);
int RunList(Arguments args);
int RunRemove(Arguments args);
int RunMakeFolder(Arguments args);

}  // namespace penlark::cli

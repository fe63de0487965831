#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

// The offices the user runs, found by their profile folder (their user installation).
namespace penlark {

// The profile an office uses when none is named: $XDG_CONFIG_HOME/libreoffice/4, where
// $XDG_CONFIG_HOME is ~/.config when it is unset.
std::filesystem::path DefaultOfficeProfile();

// The process id of an office of this user running on `profile`; nullopt when none runs.
std::optional<int> FindRunningOffice(const std::filesystem::path& profile);

// The name of the pipe on which the office of `profile` accepts Penlark's connections: the same
// for every Penlark process of this user that attaches to that office.
std::string AttachPipeName(const std::filesystem::path& profile);

// Asks the office running on `profile` to accept connections on `pipeName`: an office program
// started against a profile that is in use hands its arguments to the running office and ends.
// Raises WordError when that program does not end by `deadline`.
void AskToAccept(const std::filesystem::path& programDir, const std::filesystem::path& profile,
                 const std::string& pipeName, std::chrono::steady_clock::time_point deadline);

}  // namespace penlark

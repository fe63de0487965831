#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace penlark::testing {

// Processes of program `name` (its first 15 characters) whose command line holds `part`.
std::vector<int> ProcessIds(const std::string& name, const std::string& part);

// How many office processes (soffice.bin) run on this profile.
int OfficesOn(const std::filesystem::path& profile);

// The lines of a dialog script (PENLARK_DIALOG_SCRIPT) that log in as the test server's user.
std::string ScriptedLogin(const std::string& serverText);

// The user's work folder for $XDG_DATA_HOME `dataHome`, where the installation is not writable.
inline std::filesystem::path UsersWorkFolder(const std::filesystem::path& dataHome) {
  return dataHome / "penlark" / "work";
}

// Whether `condition` holds within `patience`, checking it every 100 ms.
bool Eventually(const std::function<bool()>& condition,
                std::chrono::milliseconds patience = std::chrono::seconds(60));

}  // namespace penlark::testing

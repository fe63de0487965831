#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// Watching the office processes a test starts or expects.
namespace penlark::testing {

// The processes of program `name` (as the system shows it, at most 15 characters) whose command
// line holds `part`.
std::vector<int> ProcessIds(const std::string& name, const std::string& part);

// How many office processes (soffice.bin) run on this profile.
int OfficesOn(const std::filesystem::path& profile);

// The lines of a dialog script (PENLARK_DIALOG_SCRIPT) that log in as the test server's user.
std::string ScriptedLogin(const std::string& serverText);

// The work folder Penlark keeps for a user whose $XDG_DATA_HOME is `dataHome` when the
// installation folder is not the user's to write.
inline std::filesystem::path UsersWorkFolder(const std::filesystem::path& dataHome) {
  return dataHome / "penlark" / "work";
}

// Whether `condition` holds within `patience`, checking it every 100 ms.
bool Eventually(const std::function<bool()>& condition,
                std::chrono::milliseconds patience = std::chrono::seconds(60));

}  // namespace penlark::testing

#include "support/Offices.h"

#include "support/TempDir.h"

#include <thread>

namespace penlark::testing {

std::vector<int> ProcessIds(const std::string& name, const std::string& part) {
  std::vector<int> ids;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string id = entry.path().filename().string();
    if (id.find_first_not_of("0123456789") == std::string::npos &&
        ReadFile(entry.path() / "comm") == name + "\n" &&
        ReadFile(entry.path() / "cmdline").value_or("").find(part) != std::string::npos) {
      ids.push_back(std::stoi(id));
    }
  }
  return ids;
}

int OfficesOn(const std::filesystem::path& profile) {
  return static_cast<int>(ProcessIds("soffice.bin", profile.string()).size());
}

std::string ScriptedLogin(const std::string& serverText) {
  return "set server " + serverText + "\nset user ann\nset password secret\nclick login\n";
}

bool Eventually(const std::function<bool()>& condition, std::chrono::milliseconds patience) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return true;
}

}  // namespace penlark::testing

#include "support/Offices.h"

#include <fstream>
#include <iterator>
#include <thread>

namespace penlark::testing {
namespace {

std::string ProcFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace

std::vector<int> ProcessIds(const std::string& name, const std::string& part) {
  std::vector<int> ids;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string id = entry.path().filename().string();
    if (id.find_first_not_of("0123456789") == std::string::npos &&
        ProcFile(entry.path() / "comm") == name + "\n" &&
        ProcFile(entry.path() / "cmdline").find(part) != std::string::npos) {
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

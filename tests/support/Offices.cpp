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

int OfficesOn(const std::filesystem::path& profile) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    if (ProcFile(entry.path() / "comm") == "soffice.bin\n" &&
        ProcFile(entry.path() / "cmdline").find(profile.string()) != std::string::npos) {
      ++count;
    }
  }
  return count;
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

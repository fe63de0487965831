#include "word/writer/RunningOffice.h"

#include "word/Word.h"
#include "word/writer/OfficeProcess.h"
#include "word/writer/Uno.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace penlark {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kProfileArgument = "-env:UserInstallation=";

fs::path ConfigHome() {
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config == '/') {
    return config;
  }
  const char* home = std::getenv("HOME");
  return fs::path(home != nullptr ? home : "/") / ".config";
}

std::string ReadProcFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The profile the office of a process (its folder in /proc) runs on, from its command line; none
// for a process that has ended (an ended process not yet reaped shows an empty command line).
std::optional<fs::path> ProfileOf(const fs::path& process) {
  const std::string commandLine = ReadProcFile(process / "cmdline");
  if (commandLine.empty()) {
    return std::nullopt;
  }
  for (std::size_t start = 0; start < commandLine.size();) {
    const std::size_t end = std::min(commandLine.find('\0', start), commandLine.size());
    const std::string_view argument(commandLine.data() + start, end - start);
    if (argument.starts_with(kProfileArgument)) {
      const auto url = uno::ToOUString(argument.substr(kProfileArgument.size()));
      return uno::SystemPath(url).value_or(fs::path());
    }
    start = end + 1;
  }
  return DefaultOfficeProfile();
}

bool SameFolder(const fs::path& a, const fs::path& b) {
  std::error_code ignored;
  return fs::weakly_canonical(a, ignored) == fs::weakly_canonical(b, ignored);
}

// FNV-1a: stable across processes and builds.
std::uint64_t StableHash(std::string_view text) {
  std::uint64_t hash = 14695981039346656037ULL;
  for (const char c : text) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
  }
  return hash;
}

}  // namespace

fs::path DefaultOfficeProfile() {
  return ConfigHome() / "libreoffice" / "4";
}

std::optional<int> FindRunningOffice(const fs::path& profile) {
  std::error_code error;
  for (const auto& entry : fs::directory_iterator("/proc", error)) {
    const std::string name = entry.path().filename().string();
    struct stat status {};
    if (name.find_first_not_of("0123456789") != std::string::npos ||
        stat(entry.path().c_str(), &status) != 0 || status.st_uid != getuid()) {
      continue;
    }
    if (ReadProcFile(entry.path() / "comm") != "soffice.bin\n") {
      continue;
    }
    if (const auto itsProfile = ProfileOf(entry.path());
        itsProfile && SameFolder(*itsProfile, profile)) {
      return std::stoi(name);
    }
  }
  return std::nullopt;
}

std::string AttachPipeName(const fs::path& profile) {
  std::error_code ignored;
  const std::string folder = fs::weakly_canonical(profile, ignored).string();
  return "penlark-" + std::to_string(getuid()) + "-" + std::to_string(StableHash(folder));
}

void AskToAccept(const fs::path& programDir, const fs::path& profile, const std::string& pipeName,
                 std::chrono::steady_clock::time_point deadline) {
  OfficeProcess launcher(programDir / "soffice.bin",
                         {std::string(kProfileArgument) + uno::ToUtf8(uno::FileUrl(profile)),
                          "--accept=pipe,name=" + pipeName + ";urp;"});
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      deadline - std::chrono::steady_clock::now());
  if (!launcher.WaitForExit(left)) {
    throw WordError("The office running on " + profile.string() + " did not answer in time.");
  }
}

}  // namespace penlark

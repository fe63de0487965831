#include "platform/Settings.h"

#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/UserFolders.h"

#include <filesystem>

namespace penlark {

std::string SettingsFileNaming(std::string_view installPath) {
  std::string quoted;
  for (const char c : installPath) {
    if (c == '\\' || c == '"') {
      quoted += '\\';
    }
    quoted += c;
  }
  return "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\" +
         std::string(kSettingsKey) + "]\r\n\"" + std::string(kInstallPathValue) + "\"=\"" + quoted +
         "\"\r\n";
}

namespace {

// The separators a path may end with: Windows takes "/" as well as its own "\".
constexpr std::string_view kSeparators = kPathSeparator == '/' ? "/" : "\\/";

}  // namespace

std::string ReadInstallPath() {
  std::string path = ReadRegistryString(kSettingsKey, kInstallPathValue);
  path.erase(path.find_last_not_of(kSeparators) + 1);  // separators alone: npos + 1 is 0
  return path;
}

std::string UserFolder(std::string_view installPath, std::string_view kind) {
  if (!installPath.empty() && user_folders::CanWriteTo(Utf8Path(installPath))) {
    return std::string(installPath) + kPathSeparator + std::string(kind);
  }
  const std::filesystem::path folder = user_folders::DataHome() / "penlark" / Utf8Path(kind);
  user_folders::MakePrivateFolders(folder);
  return Utf8Text(folder);
}

std::string WorkDirPath(std::string_view installPath) {
  return UserFolder(installPath, "work") + kPathSeparator;
}

std::string HelpPagePath(std::string_view installPath) {
  return std::string(installPath) + kPathSeparator + "docs" + kPathSeparator + "running.html";
}

std::string HistoryFilePath(std::string_view installPath, std::string_view userName) {
  return UserFolder(installPath, "history") + kPathSeparator + "history." + std::string(userName);
}

}  // namespace penlark

#include "platform/Settings.h"

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

std::string ReadInstallPath() {
  return ReadRegistryString(kSettingsKey, kInstallPathValue);
}

std::string UserFolder(std::string_view installPath, std::string_view kind) {
  const std::string install(installPath);
  if (!install.empty() && user_folders::CanWriteTo(install)) {
    return install + "/" + std::string(kind);
  }
  const std::filesystem::path folder = user_folders::DataHome() / "penlark" / kind;
  user_folders::MakePrivateFolders(folder);
  return folder.string();
}

std::string WorkDirPath(std::string_view installPath) {
  return UserFolder(installPath, "work") + "/";
}

std::string HelpPagePath(std::string_view installPath) {
  return std::string(installPath) + "/docs/running.html";
}

std::string HistoryFilePath(std::string_view installPath, std::string_view userName) {
  return UserFolder(installPath, "history") + "/history." + std::string(userName);
}

}  // namespace penlark

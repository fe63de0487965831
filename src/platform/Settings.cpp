#include "platform/Settings.h"

#include "platform/Registry.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace penlark {
namespace {

namespace fs = std::filesystem;

fs::path HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    return home;
  }
  const passwd* entry = getpwuid(getuid());
  return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "/";
}

// $XDG_DATA_HOME when it is an absolute path, else ~/.local/share.
fs::path DataHome() {
  if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data == '/') {
    return data;
  }
  return HomeFolder() / ".local" / "share";
}

// Creates the folders of `path` that do not exist, each private to the user. A folder that cannot
// be made is left to fail where it is written to.
void MakePrivateFolders(const fs::path& path) {
  fs::path partial;
  for (const fs::path& part : path) {
    partial /= part;
    mkdir(partial.c_str(), S_IRWXU);
  }
}

}  // namespace

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
  if (!install.empty() && access(install.c_str(), W_OK) == 0) {
    return install + "/" + std::string(kind);
  }
  const fs::path folder = DataHome() / "penlark" / kind;
  MakePrivateFolders(folder);
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

#include "platform/Settings.h"

#include "platform/Registry.h"

namespace penlark {

std::string ReadInstallPath() {
  return ReadRegistryString(kSettingsKey, kInstallPathValue);
}

std::string WorkDirPath(std::string_view installPath) {
  return std::string(installPath) + "/work/";
}

std::string HelpPagePath(std::string_view installPath) {
  return std::string(installPath) + "/docs/running.html";
}

std::string HistoryFilePath(std::string_view installPath, std::string_view userName) {
  return std::string(installPath) + "/history/history." + std::string(userName);
}

}  // namespace penlark

#include "Commands.h"
#include "platform/Identity.h"
#include "platform/Registry.h"
#include "platform/Settings.h"

#include <iostream>
#include <string>

namespace penlark::cli {

int RunSettings(Arguments args) {
  if (!args.empty()) {
    std::cerr << "Usage: penlark settings\n";
    return 2;
  }
  const std::string installPath = ReadInstallPath();
  const std::string user = CurrentUserName();
  std::cout << "settings file:    " << RegistryFilePath().string() << '\n'
            << "install path:     " << (installPath.empty() ? "(not set)" : installPath) << '\n'
            << "work directory:   " << WorkDirPath(installPath) << '\n'
            << "help page:        " << HelpPagePath(installPath) << '\n'
            << "history file:     " << HistoryFilePath(installPath, user) << '\n'
            << "user name:        " << user << '\n'
            << "computer name:    " << CurrentComputerName() << '\n';
  return 0;
}

}  // namespace penlark::cli

// penlark: the command-line entry to Penlark.

#include "platform/Identity.h"
#include "platform/Registry.h"
#include "platform/Settings.h"

#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kUsage = R"(Usage: penlark COMMAND [ARGUMENTS]

Commands:
  settings    show the machine settings and the files derived from them
  help        show this text

The machine settings file is $PENLARK_REGISTRY, or /etc/penlark/registry.reg.
)";

int ShowSettings() {
  const std::string installPath = penlark::ReadInstallPath();
  const std::string user = penlark::CurrentUserName();
  std::cout << "settings file:    " << penlark::RegistryFilePath().string() << '\n'
            << "install path:     " << (installPath.empty() ? "(not set)" : installPath) << '\n'
            << "work directory:   " << penlark::WorkDirPath(installPath) << '\n'
            << "help page:        " << penlark::HelpPagePath(installPath) << '\n'
            << "history file:     " << penlark::HistoryFilePath(installPath, user) << '\n'
            << "user name:        " << user << '\n'
            << "computer name:    " << penlark::CurrentComputerName() << '\n';
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  if (args.empty()) {
    std::cerr << kUsage;
    return 2;
  }
  const std::string_view command = args.front();
  if (command == "help" || command == "--help" || command == "-h") {
    std::cout << kUsage;
    return 0;
  }
  if (command == "settings" && args.size() == 1) {
    return ShowSettings();
  }
  std::cerr << "penlark: unknown command or arguments: " << command << "\n\n" << kUsage;
  return 2;
}

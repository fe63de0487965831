// penlark: the command-line entry to Penlark.

#include "Commands.h"

#include <algorithm>
#include <array>
#include <iostream>
#include <string_view>
#include <vector>

namespace {

struct Command {
  std::string_view name;
  int (*run)(penlark::cli::Arguments);
};

constexpr std::array kCommands = {
    Command{"settings", penlark::cli::RunSettings},
    Command{"ls", penlark::cli::RunList},
    Command{"rm", penlark::cli::RunRemove},
    Command{"mkdir", penlark::cli::RunMakeFolder},
};

constexpr std::string_view kUsage = R"(Usage: penlark COMMAND [ARGUMENTS]

Commands:
  settings    show the machine settings and the files derived from them
  ls          list a server folder:          penlark ls --server SERVER --user USER DIR
  rm          delete a server entry:         penlark rm --server SERVER --user USER DIR NAME
  mkdir       create a server folder:        penlark mkdir --server SERVER --user USER DIR NAME
  help        show this text

The server commands take the password from $PENLARK_PASSWORD, or with --password-stdin from the
first line of standard input; "penlark COMMAND --help" tells more. They print what would be shown
in message boxes on standard error, and exit with 0 on success, 1 on failure.

The machine settings file is $PENLARK_REGISTRY, or /etc/penlark/registry.reg.
)";

}  // namespace

int main(int argc, char* argv[]) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  if (args.empty()) {
    std::cerr << kUsage;
    return 2;
  }
  const std::string_view name = args.front();
  if (name == "help" || name == "--help" || name == "-h") {
    std::cout << kUsage;
    return 0;
  }
  const auto command = std::find_if(kCommands.begin(), kCommands.end(),
                                    [&](const Command& c) { return c.name == name; });
  if (command == kCommands.end()) {
    std::cerr << "penlark: unknown command: " << name << "\n\n" << kUsage;
    return 2;
  }
  return command->run(penlark::cli::Arguments(args).subspan(1));
}

#include "ServerCommand.h"

#include <iostream>

namespace penlark::cli {

int RunList(Arguments args) {
  static const ServerCommandSyntax kSyntax{
      "ls",
      {"DIR"},
      "Lists the server folder DIR: one entry a line, its type (1 "
      "folder, 2 document), a TAB, its name."};
  return RunServerCommand(args, kSyntax, [](ServerContext& context) {
    const std::string& dir = context.operands[0];
    if (context.tarnwell.RequestFiles(dir, context.user, context.password).empty()) {
      return false;
    }
    const ListingRead read = context.tarnwell.LastListingRead();
    if (read != ListingRead::Entries && read != ListingRead::Emptied) {
      return context.Fail("The server's reply is not a folder listing.");
    }
    const auto& names = context.tarnwell.FileNames();
    const auto& types = context.tarnwell.FileTypes();
    for (std::size_t i = 0; i < names.size(); ++i) {
      std::cout << types[i] << '\t' << names[i] << '\n';
    }
    return true;
  });
}

}  // namespace penlark::cli

#include "ServerCommand.h"

namespace penlark::cli {

int RunMakeFolder(Arguments args) {
  static const ServerCommandSyntax kSyntax{
      "mkdir", {"DIR", "NAME"}, "Creates the folder NAME in the server folder DIR."};
  return RunServerCommand(args, kSyntax, [](ServerContext& context) {
    constexpr std::int16_t kFolderType = 1;
    return !context.tarnwell
                .RequestCreateFolder(context.operands[0], context.operands[1], kFolderType,
                                     context.user, context.password)
                .empty();
  });
}

}  // namespace penlark::cli

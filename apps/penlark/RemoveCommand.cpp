#include "ServerCommand.h"

namespace penlark::cli {

int RunRemove(Arguments args) {
  static const ServerCommandSyntax kSyntax{
      "rm",
      {"DIR", "NAME"},
      "Deletes the document or empty folder NAME from the server folder DIR."};
  return RunServerCommand(args, kSyntax, [](ServerContext& context) {
    const std::string& dir = context.operands[0];
    const std::string& name = context.operands[1];
    if (context.tarnwell.RequestFiles(dir, context.user, context.password).empty()) {
      return false;
    }
    if (!context.tarnwell.FileExists(name)) {
      return context.Fail("There is no entry \"" + name + "\" in the folder \"" + dir + "\".");
    }
    const std::int16_t type = context.tarnwell.GetFileType(name);
    return !context.tarnwell.RequestDelete(dir, name, type, context.user, context.password).empty();
  });
}

}  // namespace penlark::cli

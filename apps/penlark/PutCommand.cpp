#include "ServerCommand.h"
#include "conversion/Transform.h"
#include "platform/Files.h"

namespace penlark::cli {

int RunPut(Arguments args) {
  static const ServerCommandSyntax kSpec{
      "put",
      {"DIR", "NAME", "IN.rtf"},
      "Stores the RTF file IN.rtf on the server as the document NAME in the folder DIR."};
  return RunServerCommand(args, kSpec, [](ServerContext& context) {
    std::string xml;
    try {
      xml = RtfFileToXml(Utf8Path(context.operands[2]));
    } catch (const ConversionError& error) {
      return context.Fail(error.what());
    }
    return !context.tarnwell
                .RequestSaveFile(context.operands[0], context.operands[1], xml, context.user,
                                 context.password)
                .empty();
  });
}

}  // namespace penlark::cli

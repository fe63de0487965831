#include "ServerCommand.h"
#include "conversion/Transform.h"
#include "platform/Files.h"

namespace penlark::cli {

int RunGet(Arguments args) {
  static const ServerCommandSyntax kSpec{
      "get",
      {"DIR", "NAME", "OUT.rtf"},
      "Fetches the document NAME from the server folder DIR and writes it as RTF to OUT.rtf."};
  return RunServerCommand(args, kSpec, [](ServerContext& context) {
    constexpr std::int16_t kDocumentType = 2;
    const std::string& dir = context.operands[0];
    const std::string& name = context.operands[1];
    const std::string reply =
        context.tarnwell.RequestContent(dir, name, kDocumentType, context.user, context.password);
    if (reply.empty()) {
      return false;
    }
    try {
      if (ConvertXmlToRtfFile(reply, Utf8Path(context.operands[2])) !=
          XmlDocumentStatus::Converted) {
        return context.Fail("ERROR: Unable to load the XML document");
      }
    } catch (const ConversionError& error) {
      return context.Fail(error.what());
    }
    return true;
  });
}

}  // namespace penlark::cli

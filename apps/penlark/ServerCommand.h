#pragma once

#include "Commands.h"
#include "platform/ConsolePrompts.h"
#include "protocol/TarnwellInterface.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// What the commands that talk to a Tarnwell server share: their options
// (--server SERVER --user USER [--password-stdin]), the password from $PENLARK_PASSWORD or the
// first line of standard input, the connection, and messages on standard error.
namespace penlark::cli {

struct ServerCommandSyntax {
  std::string_view name;                   // "ls"
  std::vector<std::string_view> operands;  // {"DIR"}
  std::string_view summary;                // one line for --help
};

struct ServerContext {
  TarnwellInterface& tarnwell;
  Prompts& prompts;
  std::string user;
  std::string password;
  std::vector<std::string> operands;

  // Reports a failure of the command's own on standard error; returns false.
  bool Fail(const std::string& message);
};

// Parses the options and operands, connects, and runs `body`: exit status 0 when it returns
// true, 1 when false, 2 for bad arguments.
int RunServerCommand(Arguments args, const ServerCommandSyntax& syntax,
                     const std::function<bool(ServerContext&)>& body);

}  // namespace penlark::cli

#include "ServerCommand.h"

#include <cstdlib>
#include <iostream>
#include <optional>

namespace penlark::cli {
namespace {

constexpr std::string_view kPasswordVariable = "PENLARK_PASSWORD";

struct ServerOptions {
  std::string server;
  std::string user;
  bool passwordFromInput = false;
  std::vector<std::string> operands;
};

std::string Usage(const ServerCommandSyntax& syntax) {
  std::string usage = "Usage: penlark " + std::string(syntax.name) +
                      " --server SERVER --user USER [--password-stdin]";
  for (const std::string_view operand : syntax.operands) {
    usage.append(" ").append(operand);
  }
  usage.append("\n\n").append(syntax.summary).append(R"(

  --server SERVER     the server as typed in the dialog's server field ("host:port" or a URL)
  --user USER         the user name
  --password-stdin    read the password from the first line of standard input; without it,
                      the password is $PENLARK_PASSWORD (empty when not set)
)");
  return usage;
}

// The options, or nullopt when they are not understood.
std::optional<ServerOptions> ParseOptions(Arguments args, const ServerCommandSyntax& syntax) {
  ServerOptions options;
  std::size_t i = 0;
  for (; i < args.size() && args[i].starts_with("--"); ++i) {
    if (args[i] == "--password-stdin") {
      options.passwordFromInput = true;
    } else if ((args[i] == "--server" || args[i] == "--user") && i + 1 < args.size()) {
      (args[i] == "--server" ? options.server : options.user) = args[i + 1];
      ++i;
    } else {
      return std::nullopt;
    }
  }
  options.operands.assign(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
  if (options.server.empty() || options.user.empty() ||
      options.operands.size() != syntax.operands.size()) {
    return std::nullopt;
  }
  return options;
}

std::string ReadPassword(bool fromInput) {
  if (fromInput) {
    std::string line;
    std::getline(std::cin, line);
    if (line.ends_with('\r')) {
      line.pop_back();
    }
    return line;
  }
  const char* password = std::getenv(kPasswordVariable.data());
  return password == nullptr ? std::string() : std::string(password);
}

}  // namespace

bool ServerContext::Fail(const std::string& message) {
  prompts.ShowMessage({.text = message});
  return false;
}

int RunServerCommand(Arguments args, const ServerCommandSyntax& syntax,
                     const std::function<bool(ServerContext&)>& body) {
  if (args.size() == 1 && (args.front() == "--help" || args.front() == "-h")) {
    std::cout << Usage(syntax);
    return 0;
  }
  std::optional<ServerOptions> options = ParseOptions(args, syntax);
  if (!options) {
    std::cerr << Usage(syntax);
    return 2;
  }
  ConsolePrompts prompts(std::cerr);
  TarnwellInterface tarnwell(prompts,
                             {.serverText = [server = options->server] { return server; }});
  ServerContext context{.tarnwell = tarnwell,
                        .prompts = prompts,
                        .user = options->user,
                        .password = ReadPassword(options->passwordFromInput),
                        .operands = std::move(options->operands)};
  return body(context) ? 0 : 1;
}

}  // namespace penlark::cli

// tarnwell-server: a reference Tarnwell document server on a loopback port, for development,
// the demo and tests.

#include "StopSignal.h"
#include "platform/Files.h"
#include "platform/ProgramArguments.h"
#include "server/ReferenceServer.h"

#include <charconv>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

constexpr std::string_view kUsage =
    R"(Usage: tarnwell-server --root DIR --users FILE [--port N] [OPTIONS]

Serves the folders and documents below DIR over SOAP at
http://127.0.0.1:PORT/servlet/XMLSOAPRouter until stopped with {stop}.
Prints what to type as the server name ("127.0.0.1:PORT") on standard output once listening.

  --root DIR            the server's root folder (must exist)
  --port N              the port to listen on; 0 (the default) picks a free one
  --users FILE          the users, one NAME:PASSWORD per line ("#" starts a comment);
                        "-" reads them from standard input; empty passwords are refused

Limits:
  a request (its envelope) of at most 256 MB; a larger one gets the SOAP fault
  "The document is larger than the server accepts (256 MB)."
  8 requests served at once; more wait their turn
  memory per request: about three times its envelope while it is read (an envelope that
  is all elements, up to about 30 times), about twice the document while it is sent
  a request still being received or answered 120 s after its head arrived loses its
  connection; a head sent a byte at a time holds a serving thread while it comes
  {stop} end the server within 3 s, whatever clients still send
  at most 32 attributes per element and 64 namespace declarations per envelope; no DTD
  after two failed logins of a user from one address, that pair's logins are refused
  unchecked for 250 ms, doubling with each further failure up to 2 s

For tests only:
  --user NAME:PASSWORD  a user the server accepts (repeatable); warns, as the password shows
                        in the process list
  --deadline-ms N       the request deadline in milliseconds instead of 120 s
  --max-request-mb N    the largest request in MB instead of 256

Misbehaving, for tests of clients:
  --delay-ms N          wait N milliseconds before every answer
  --drop                close every connection instead of answering
  --not-xml             answer every request with a body that is not XML
  --fault TEXT          answer every request with a SOAP fault of this text
  --help                show this text
)";

// The usage text with the system's way to stop the server in place of each "{stop}".
std::string Usage() {
  constexpr std::string_view kPlaceholder = "{stop}";
  std::string usage(kUsage);
  for (auto at = usage.find(kPlaceholder); at != std::string::npos; at = usage.find(kPlaceholder)) {
    usage.replace(at, kPlaceholder.size(), tarnwell_server::kStopRequests);
  }
  return usage;
}

std::optional<long> ParseNumber(std::string_view text, long max) {
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0 || value > max) {
    return std::nullopt;
  }
  return value;
}

struct Options {
  penlark::server::ServerConfig config;
  penlark::server::TestSwitches switches;
};

// The options, or nullopt after printing what is wrong.
std::optional<Options> ParseOptions(const std::vector<std::string_view>& args) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view option = args[i];
    const auto value = [&]() -> std::optional<std::string_view> {
      return i + 1 < args.size() ? std::optional(args[++i]) : std::nullopt;
    };
    std::optional<std::string_view> text;
    if (option == "--drop") {
      options.switches.dropConnection = true;
    } else if (option == "--not-xml") {
      options.switches.rawBody = "This is not XML.";
    } else if (!(text = value())) {
      std::cerr << "tarnwell-server: unknown option or missing value: " << option << '\n';
      return std::nullopt;
    } else if (option == "--root") {
      options.config.root = penlark::Utf8Path(*text);
    } else if (option == "--port") {
      const auto port = ParseNumber(*text, 65535);
      if (!port) {
        std::cerr << "tarnwell-server: not a port number: " << *text << '\n';
        return std::nullopt;
      }
      options.config.port = static_cast<std::uint16_t>(*port);
    } else if (option == "--user") {
      auto user = penlark::server::UserTable::ParseUser(*text);
      if (!user) {
        std::cerr << "tarnwell-server: expected --user NAME:PASSWORD, the password not empty\n";
        return std::nullopt;
      }
      std::cerr << "tarnwell-server: warning: --user is for tests: its password shows in the "
                   "process list; use --users\n";
      options.config.users.Add(std::move(user->first), std::move(user->second));
    } else if (option == "--users" && *text == "-") {
      options.config.users.AddFromStream(std::cin, "standard input");
    } else if (option == "--users") {
      options.config.users.AddFromFile(penlark::Utf8Path(*text));
    } else if (option == "--deadline-ms") {
      const auto deadline = ParseNumber(*text, 24L * 3600 * 1000);
      if (!deadline || *deadline == 0) {
        std::cerr << "tarnwell-server: not a deadline in milliseconds: " << *text << '\n';
        return std::nullopt;
      }
      options.config.requestDeadline = std::chrono::milliseconds(*deadline);
    } else if (option == "--max-request-mb") {
      const auto megabytes = ParseNumber(*text, 4096);
      if (!megabytes || *megabytes == 0) {
        std::cerr << "tarnwell-server: not a size in MB: " << *text << '\n';
        return std::nullopt;
      }
      options.config.maxRequestBytes = static_cast<std::size_t>(*megabytes) << 20;
    } else if (option == "--delay-ms") {
      const auto delay = ParseNumber(*text, 24L * 3600 * 1000);
      if (!delay) {
        std::cerr << "tarnwell-server: not a delay in milliseconds: " << *text << '\n';
        return std::nullopt;
      }
      options.switches.delay = std::chrono::milliseconds(*delay);
    } else if (option == "--fault") {
      options.switches.fault = std::string(*text);
    } else {
      std::cerr << "tarnwell-server: unknown option: " << option << '\n';
      return std::nullopt;
    }
  }
  if (options.config.root.empty() || options.config.users.Empty()) {
    std::cerr << "tarnwell-server: --root and at least one user are required\n";
    return std::nullopt;
  }
  return options;
}

// A client that sends its request head a byte at a time holds a serving thread for as long as it
// keeps sending, and stopping waits for every serving thread: the process ends after a grace
// period whatever such clients do.
constexpr std::chrono::seconds kStopGrace{3};

void EndAfterGrace() {
  std::thread([] {
    std::this_thread::sleep_for(kStopGrace);
    std::cerr << "tarnwell-server: connections still open; ending without them\n";
    std::_Exit(0);
  }).detach();
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::vector<std::string> arguments = penlark::ProgramArguments(argc, argv);
  const std::vector<std::string_view> args(arguments.begin(), arguments.end());
  if (args.size() == 1 && args.front() == "--help") {
    std::cout << Usage();
    return 0;
  }

  tarnwell_server::CatchStopRequests();

  try {
    auto options = ParseOptions(args);
    if (!options) {
      std::cerr << '\n' << Usage();
      return 2;
    }
    penlark::server::ReferenceServer server(std::move(options->config));
    server.SetSwitches(std::move(options->switches));
    server.Start();
    std::cout << server.ServerText() << std::endl;

    tarnwell_server::WaitForStopRequest();
    EndAfterGrace();
    server.Stop();
    return 0;
  } catch (const std::exception& error) {
    std::cerr << "tarnwell-server: " << error.what() << '\n';
    return 1;
  }
}

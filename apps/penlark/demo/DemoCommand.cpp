// penlark demo: the whole product on one machine, with an embedded server and sample documents.

#include "Commands.h"
#include "DesktopComponent.h"
#include "DocumentReport.h"
#include "QuitOnSignals.h"
#include "WordChoice.h"
#include "demo/DemoEnvironment.h"
#include "demo/DemoWindow.h"
#include "server/ReferenceServer.h"
#include "word/Word.h"

#include <cstdlib>
#include <iostream>
#include <optional>

#include <QApplication>
#include <QTimer>

namespace penlark::cli {
namespace {

constexpr std::string_view kUsage = R"(Usage: penlark demo [--keep] [--word=writer|local]

Starts a Tarnwell server with sample folders and documents on a free loopback port, sets up an
installation in a temporary folder, and shows the dialog in Open mode. Log in with the server,
user and password the demo prints. The demo window then offers the other operations and shows
the server's side.

  --keep          keep the temporary folder (the installation, its work folder and the
                  server's documents) when the demo ends; without it, the folder is removed
  --word=writer   open the documents in LibreOffice Writer (an error when it is not installed)
  --word=local    hold them in the stand-in word processor, which shows none itself
Without --word, LibreOffice Writer is used when it is installed. Its windows close when the
demo ends.
)";

constexpr const char* kDemoUser = "demo";
constexpr const char* kDemoPassword = "penlark";

struct DemoOptions {
  bool keep = false;
  WordChoice word = WordChoice::Automatic;
};

std::optional<DemoOptions> ParseOptions(Arguments args) {
  DemoOptions options;
  for (const std::string_view arg : args) {
    if (arg == "--keep") {
      options.keep = true;
    } else if (!ReadWordOption(arg, options.word)) {
      return std::nullopt;
    }
  }
  return options;
}

}  // namespace

int RunDemo(Arguments args) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << kUsage;
    return 0;
  }
  const auto options = ParseOptions(args);
  if (!options) {
    std::cerr << kUsage;
    return 2;
  }
  int argc = 1;
  char programName[] = "penlark";
  char* argv[] = {programName, nullptr};
  QApplication application(argc, argv);
  const QuitOnSignals quitOnSignals;

  DemoEnvironment environment;
  if (options->keep) {
    environment.Keep();
  }
  setenv("PENLARK_REGISTRY", environment.RegistryFile().c_str(), 1);
  server::ServerConfig config{.root = environment.ServerRoot()};
  config.users.Add(kDemoUser, kDemoPassword);
  server::ReferenceServer server(std::move(config));
  server.Start();
  auto desktop = StartWordProcessor(options->word, std::cerr);
  if (!desktop) {
    return 1;
  }
  std::cout << "Penlark demo, with " << desktop->name << ". Log in with\n"
            << "  Domain Name: " << server.ServerText() << "\n  Username:    " << kDemoUser
            << "\n  Password:    " << kDemoPassword << "\n"
            << std::flush;

  int status = 0;
  {
    const DesktopComponent component(desktop->word);
    DemoWindow window(server.ServerText(), environment.ServerRoot().string(), *desktop);
    window.show();
    QTimer::singleShot(0, &window, &DemoWindow::OpenFromServer);
    status = QApplication::exec();
  }
  PrintDocuments(*desktop->word, std::cout);
  // The office goes before the work folder it has files open in.
  desktop->word.reset();
  if (options->keep) {
    std::cout << "The demo's files are kept in " << environment.Folder().string() << '\n';
  } else {
    std::cout << "The demo's temporary folder has been removed (penlark demo --keep keeps it).\n";
  }
  return status;
}

}  // namespace penlark::cli

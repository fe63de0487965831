// penlark demo: the whole product on one machine, with an embedded server and sample documents.

#include "Commands.h"
#include "DesktopComponent.h"
#include "DocumentReport.h"
#include "automation/Component.h"
#include "demo/DemoEnvironment.h"
#include "demo/DemoWindow.h"
#include "server/ReferenceServer.h"
#include "word/LocalWord.h"

#include <csignal>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>

namespace penlark::cli {
namespace {

constexpr std::string_view kUsage = R"(Usage: penlark demo [--keep]

Starts a Tarnwell server with sample folders and documents on a free loopback port, sets up an
installation in a temporary folder, and shows the dialog in Open mode. Log in with the server,
user and password the demo prints. The demo window then offers the other operations and shows
the server's side.

  --keep   keep the temporary folder (the installation, its work folder and the server's
           documents) when the demo ends; without it, the folder is removed
)";

constexpr const char* kDemoUser = "demo";
constexpr const char* kDemoPassword = "penlark";

// Ends the application's event loop on SIGINT and SIGTERM, so that the demo cleans up after
// itself when it is interrupted. The handler only writes a byte; the loop does the rest.
class QuitOnSignals {
 public:
  QuitOnSignals() {
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, sockets_) != 0) {
      return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(sockets_[1], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [] { QApplication::quit(); });
    writeEnd = sockets_[0];
    std::signal(SIGINT, Notify);
    std::signal(SIGTERM, Notify);
  }
  ~QuitOnSignals() {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    notifier_.reset();
    for (const int socket : sockets_) {
      if (socket >= 0) {
        close(socket);
      }
    }
  }
  QuitOnSignals(const QuitOnSignals&) = delete;
  QuitOnSignals& operator=(const QuitOnSignals&) = delete;

 private:
  static void Notify(int) {
    const char byte = 1;
    static_cast<void>(write(writeEnd, &byte, 1));
  }

  static inline int writeEnd = -1;
  int sockets_[2] = {-1, -1};
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace

int RunDemo(Arguments args) {
  const bool help = args.size() == 1 && (args[0] == "--help" || args[0] == "-h");
  const bool keep = args.size() == 1 && args[0] == "--keep";
  if (help || !(args.empty() || keep)) {
    (help ? std::cout : std::cerr) << kUsage;
    return help ? 0 : 2;
  }
  int argc = 1;
  char programName[] = "penlark";
  char* argv[] = {programName, nullptr};
  QApplication application(argc, argv);
  const QuitOnSignals quitOnSignals;

  DemoEnvironment environment;
  if (keep) {
    environment.Keep();
  }
  setenv("PENLARK_REGISTRY", environment.RegistryFile().c_str(), 1);
  server::ServerConfig config{.root = environment.ServerRoot()};
  config.users.Add(kDemoUser, kDemoPassword);
  server::ReferenceServer server(std::move(config));
  server.Start();
  std::cout << "Penlark demo. Log in with\n"
            << "  Domain Name: " << server.ServerText() << "\n  Username:    " << kDemoUser
            << "\n  Password:    " << kDemoPassword << "\n";

  auto word = std::make_shared<LocalWord>();
  InstallDesktopComponent(word);
  int status = 0;
  {
    DemoWindow window(server.ServerText(), environment.ServerRoot().string(), word);
    window.show();
    QTimer::singleShot(0, &window, &DemoWindow::OpenFromServer);
    status = QApplication::exec();
    Component::EndCurrent();
  }
  PrintDocuments(*word, std::cout);
  if (keep) {
    std::cout << "The demo's files are kept in " << environment.Folder().string() << '\n';
  } else {
    std::cout << "The demo's temporary folder has been removed (penlark demo --keep keeps it).\n";
  }
  return status;
}

}  // namespace penlark::cli

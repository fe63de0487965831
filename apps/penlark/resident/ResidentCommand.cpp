// penlark resident: the Penlark of one running office. It attaches to the office, keeps the
// component (the dialog, the login, CurrentFile and CurrentDir) for as long as the office runs,
// and runs the operations that the desktop commands and the office extension hand to it.

#include "Commands.h"
#include "DesktopComponent.h"
#include "DesktopOperations.h"
#include "DocumentReport.h"
#include "QuitOnSignals.h"
#include "automation/Component.h"
#include "dialog/OpenDialog.h"
#include "resident/InFrontOfOffice.h"
#include "resident/ResidentChannel.h"
#include "word/writer/CallWatch.h"
#include "word/writer/WriterWord.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <iostream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace penlark::cli {
namespace {

namespace fs = std::filesystem;

constexpr int kOfficeWatchMilliseconds = 500;
constexpr int kReplyTimeoutMilliseconds = 2000;
constexpr int kDefaultOfficeTimeoutSeconds = 60;

// How long a call to the office may take: $PENLARK_OFFICE_TIMEOUT seconds, else 60.
int OfficeTimeoutSeconds() {
  const char* text = std::getenv("PENLARK_OFFICE_TIMEOUT");
  const int seconds = text != nullptr ? std::atoi(text) : 0;
  return seconds > 0 ? seconds : kDefaultOfficeTimeoutSeconds;
}

bool ProcessRuns(int pid) {
  return kill(pid, 0) == 0 || errno == EPERM;
}

void BringDialogToFront() {
  QWidget* front = QApplication::activeModalWidget();
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (front == nullptr && widget->isVisible()) {
      front = widget;
    }
  }
  if (front != nullptr) {
    front->raise();
    front->activateWindow();
  }
}

class Resident {
 public:
  Resident(QLocalServer& server, std::shared_ptr<WriterWord> word) : word_(std::move(word)) {
    QObject::connect(&server, &QLocalServer::newConnection, [this, &server] {
      while (QLocalSocket* socket = server.nextPendingConnection()) {
        Accept(socket);
      }
    });
    watch_.callOnTimeout([this] { WatchOffice(); });
    watch_.start(kOfficeWatchMilliseconds);
    const int seconds = OfficeTimeoutSeconds();
    uno::WatchCalls(std::chrono::seconds(seconds), [this, seconds] { GiveUp(seconds); });
  }

 private:
  void Accept(QLocalSocket* socket) {
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    auto received = std::make_shared<std::string>();
    QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket, received] {
      received->append(socket->readAll().toStdString());
      if (const auto request = DecodeRequest(*received)) {
        QObject::disconnect(socket, &QLocalSocket::readyRead, nullptr, nullptr);
        Take(socket, *request);
      }
    });
  }

  void Take(QLocalSocket* socket, const ResidentRequest& request) {
    const DesktopOperation* operation = FindDesktopOperation(request.operation);
    if (operation == nullptr) {
      Reply(socket, "", "penlark: unknown operation: " + request.operation + "\n", 2);
    } else if (busy_) {
      BringDialogToFront();
      Reply(socket, "",
            "penlark: the Tarnwell dialog is open already; it has been brought to the front.\n", 1);
    } else {
      // Out of the socket's handler: the dialog runs an event loop of its own.
      busy_ = true;
      QTimer::singleShot(0, [this, socket = QPointer<QLocalSocket>(socket), request, operation] {
        Run(socket, request, *operation);
      });
    }
  }

  void Run(const QPointer<QLocalSocket>& socket, const ResidentRequest& request,
           const DesktopOperation& operation) {
    std::ostringstream out;
    std::ostringstream err;
    int status = 0;
    const InFrontOfOffice inFront(request.window);
    if (socket != nullptr) {
      replyTo_ = static_cast<int>(socket->socketDescriptor());
      QObject::connect(socket, &QLocalSocket::disconnected, socket, [this] { replyTo_ = -1; });
    }
    try {
      for (const std::string& document : request.documents) {
        word_->DocumentsOpen(document);
      }
      if (!request.fromDocument.empty()) {
        word_->ActivateByRuntimeId(request.fromDocument);
      }
      Tarnwell tarnwell;
      (tarnwell.*operation.run)();
    } catch (const std::exception& error) {
      err << "penlark: " << error.what() << '\n';
      status = 1;
    }
    if (officeGone_) {
      err << "penlark: the office has ended; nothing was sent.\n";
      status = 1;
    } else {
      PrintDocuments(*word_, out);
    }
    busy_ = false;
    replyTo_ = -1;
    Reply(socket, out.str(), err.str(), status);
    if (officeGone_) {
      QApplication::quit();
    }
  }

  static void Reply(QLocalSocket* socket, const std::string& out, const std::string& err,
                    int status) {
    if (socket != nullptr) {
      socket->write(QByteArray::fromStdString(EncodeReply(out, err, status)));
      socket->waitForBytesWritten(kReplyTimeoutMilliseconds);
      socket->disconnectFromServer();
    }
  }

  // The user closed the office: the dialog ends without sending anything, and so do we.
  void WatchOffice() {
    if (ProcessRuns(word_->OfficeProcessId())) {
      return;
    }
    officeGone_ = true;
    watch_.stop();
    if (busy_) {
      QApplication::closeAllWindows();  // message boxes, and the dialog's window
      DialogContext& context = Component::Current().Context();
      if (context.IsDialogLoaded()) {
        context.Dialog().Form_QueryUnload();
      }
    } else {
      QApplication::quit();
    }
  }

  // A call to the office has hung (on the watching thread, while the call still waits): the
  // command waiting for a reply hears why, and this Penlark ends. The office is left alone.
  void GiveUp(int seconds) const {
    const std::string reply =
        EncodeReply("",
                    "penlark: the office did not answer within " + std::to_string(seconds) +
                        " seconds; Penlark has ended and left the office alone.\n",
                    1);
    if (const int fd = replyTo_.load(); fd >= 0) {
      static_cast<void>(send(fd, reply.data(), reply.size(), MSG_NOSIGNAL));
    }
    _exit(1);
  }

  std::shared_ptr<WriterWord> word_;
  // The connection of the command being run; -1 between commands.
  std::atomic<int> replyTo_{-1};
  QTimer watch_;
  bool busy_ = false;
  bool officeGone_ = false;
};

// Whether a resident Penlark answers on the socket already.
bool AnotherAnswers(const QString& socketPath) {
  QLocalSocket probe;
  probe.connectToServer(socketPath);
  return probe.waitForConnected(1000);
}

// From now on nothing of ours holds the terminal of the command that started us.
void LeaveTheTerminal() {
  const int null = open("/dev/null", O_WRONLY);
  dup2(null, STDOUT_FILENO);
  dup2(null, STDERR_FILENO);
  close(null);
}

int Serve(const fs::path& profile) {
  WriterOptions options;
  options.runningProfile = profile;
  std::shared_ptr<WriterWord> word;
  try {
    word = std::make_shared<WriterWord>(options);
  } catch (const WordError& error) {
    std::cerr << "penlark: " << error.what() << '\n';
    return 1;
  }
  QString socketPath;
  try {
    socketPath = QString::fromStdString(ResidentSocketPath(profile).string());
  } catch (const std::runtime_error& error) {
    std::cerr << "penlark: " << error.what() << '\n';
    return 1;
  }
  if (AnotherAnswers(socketPath)) {
    return 0;
  }
  QLocalServer::removeServer(socketPath);  // left behind by one that was killed
  QLocalServer server;
  server.setSocketOptions(QLocalServer::UserAccessOption);
  if (!server.listen(socketPath)) {
    std::cerr << "penlark: cannot listen on " << socketPath.toStdString() << ": "
              << server.errorString().toStdString() << '\n';
    return 1;
  }
  LeaveTheTerminal();
  const DesktopComponent component(word);
  const Resident resident(server, word);
  const QuitOnSignals quitOnSignals;
  return QApplication::exec();
}

}  // namespace

int RunResident(Arguments args) {
  if (args.size() != 2 || args[0] != "--profile") {
    std::cerr << "Usage: penlark resident --profile DIR\n";
    return 2;
  }
  int argc = 1;
  char programName[] = "penlark";
  char* argv[] = {programName, nullptr};
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  return Serve(fs::path(args[1]));
}

}  // namespace penlark::cli

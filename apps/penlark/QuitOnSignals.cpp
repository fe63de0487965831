#include "QuitOnSignals.h"

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>

namespace penlark::cli {

QuitOnSignals::QuitOnSignals() {
  if (socketpair(AF_UNIX, SOCK_STREAM, 0, sockets_) != 0) {
    return;
  }
  notifier_ = std::make_unique<QSocketNotifier>(sockets_[1], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [] { QApplication::quit(); });
  writeEnd_ = sockets_[0];
  std::signal(SIGINT, Notify);
  std::signal(SIGTERM, Notify);
}

QuitOnSignals::~QuitOnSignals() {
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  writeEnd_ = -1;
  notifier_.reset();
  for (const int socket : sockets_) {
    if (socket >= 0) {
      close(socket);
    }
  }
}

void QuitOnSignals::Notify(int) {
  const char byte = 1;
  static_cast<void>(write(writeEnd_, &byte, 1));
}

}  // namespace penlark::cli

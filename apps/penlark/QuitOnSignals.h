#pragma once

#include <memory>

class QSocketNotifier;

namespace penlark::cli {

// Ends the application's event loop on SIGINT and SIGTERM while it lives, so that the program
// cleans up after itself (its office and temporary files) when it is interrupted. The handler
// only writes a byte; the loop does the rest. One at a time; a QApplication must exist.
class QuitOnSignals {
 public:
  QuitOnSignals();
  ~QuitOnSignals();
  QuitOnSignals(const QuitOnSignals&) = delete;
  QuitOnSignals& operator=(const QuitOnSignals&) = delete;

 private:
  static void Notify(int);

  static inline int writeEnd_ = -1;
  int sockets_[2] = {-1, -1};
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace penlark::cli

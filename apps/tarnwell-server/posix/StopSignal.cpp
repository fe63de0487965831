#include "StopSignal.h"

#include <csignal>
#include <pthread.h>

namespace tarnwell_server {

const char* const kStopRequests = "SIGINT or SIGTERM";
namespace {

sigset_t StopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  return signals;
}

}  // namespace

// The signals are blocked and taken by sigwait; every thread started afterwards blocks them too.
void CatchStopRequests() {
  const sigset_t signals = StopSignals();
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

void WaitForStopRequest() {
  const sigset_t signals = StopSignals();
  int signal = 0;
  sigwait(&signals, &signal);
}

}  // namespace tarnwell_server

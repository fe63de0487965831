#include "StopSignal.h"

#include <windows.h>

namespace tarnwell_server {

const char* const kStopRequests = "Ctrl+C or Ctrl+Break";
namespace {

// Manual-reset: a second Ctrl+C while the server stops changes nothing.
HANDLE StopRequested() {
  static const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  return event;
}

// Runs on a thread the system starts for the event. Returning from a close, log-off or shutdown
// event ends the process at once, so the handler waits here while the server stops.
BOOL WINAPI OnConsoleEvent(DWORD /*event*/) {
  SetEvent(StopRequested());
  Sleep(INFINITE);
  return TRUE;
}

}  // namespace

void CatchStopRequests() {
  StopRequested();
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

void WaitForStopRequest() {
  WaitForSingleObject(StopRequested(), INFINITE);
}

}  // namespace tarnwell_server

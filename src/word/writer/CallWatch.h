#pragma once

#include <chrono>
#include <functional>

// A watch over the calls this process makes to the office, which block for as long as the office
// does not answer (a hung or stopped office never does).
namespace penlark::uno {

// From now on, when a call marked by a CallInProgress has not returned within `timeout`,
// `onHang` runs on a watching thread of its own while the call still waits; it is meant to end
// the process. Set once per process.
void WatchCalls(std::chrono::milliseconds timeout, std::function<void()> onHang);

// Marks a call to the office for as long as it lives; calls may nest.
class CallInProgress {
 public:
  CallInProgress();
  ~CallInProgress();
  CallInProgress(const CallInProgress&) = delete;
  CallInProgress& operator=(const CallInProgress&) = delete;
};

}  // namespace penlark::uno

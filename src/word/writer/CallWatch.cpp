#include "word/writer/CallWatch.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace penlark::uno {
namespace {

using Clock = std::chrono::steady_clock;

std::atomic<int> callsInProgress{0};
// When the outermost call in progress began.
std::atomic<Clock::rep> callStarted{0};

}  // namespace

void WatchCalls(std::chrono::milliseconds timeout, std::function<void()> onHang) {
  const auto poll =
      std::clamp(timeout / 10, std::chrono::milliseconds(10), std::chrono::milliseconds(250));
  std::thread([timeout, poll, onHang = std::move(onHang)] {
    for (;;) {
      std::this_thread::sleep_for(poll);
      const Clock::time_point started{Clock::duration(callStarted.load())};
      if (callsInProgress.load() > 0 && Clock::now() - started > timeout) {
        onHang();
        return;
      }
    }
  }).detach();
}

CallInProgress::CallInProgress() {
  if (callsInProgress.fetch_add(1) == 0) {
    callStarted.store(Clock::now().time_since_epoch().count());
  }
}

CallInProgress::~CallInProgress() {
  callsInProgress.fetch_sub(1);
}

}  // namespace penlark::uno

#include "server/LoginThrottle.h"

#include <algorithm>

namespace penlark::server {
namespace {

constexpr auto kFirstWait = std::chrono::milliseconds(250);
constexpr auto kLongestWait = std::chrono::milliseconds(2000);
constexpr std::size_t kPruneAbove = 10'000;

}  // namespace

bool LoginThrottle::MayTry(std::string_view client, std::string_view user,
                           Clock::time_point now) const {
  const std::lock_guard lock(mutex_);
  const auto found = failures_.find(Key(client, user));
  return found == failures_.end() || now >= found->second.waitUntil;
}

void LoginThrottle::Failed(std::string_view client, std::string_view user, Clock::time_point now) {
  const std::lock_guard lock(mutex_);
  if (failures_.size() > kPruneAbove) {
    Prune(now);
  }
  Failures& failures = failures_[Key(client, user)];
  ++failures.count;
  if (failures.count >= 2) {
    const int doublings = std::min(failures.count - 2, 3);
    failures.waitUntil =
        now + std::min<Clock::duration>(kFirstWait * (1 << doublings), kLongestWait);
  }
}

void LoginThrottle::Succeeded(std::string_view client, std::string_view user) {
  const std::lock_guard lock(mutex_);
  const auto found = failures_.find(Key(client, user));
  if (found != failures_.end()) {
    failures_.erase(found);
  }
}

std::string LoginThrottle::Key(std::string_view client, std::string_view user) {
  std::string key(client);
  key.push_back('\0');
  key.append(user);
  return key;
}

void LoginThrottle::Prune(Clock::time_point now) {
  std::erase_if(failures_,
                [&](const auto& entry) { return now - entry.second.waitUntil > kLongestWait * 4; });
}

}  // namespace penlark::server

#pragma once

#include <chrono>
#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

namespace penlark::server {

// Slows down password guessing without holding a thread of the server: after the second failed
// login of one user name from one client address, logins of that pair are refused without
// being checked for a while, 250 ms at first and twice as long after each further failure, up
// to 2 s. A successful login clears the count. Other clients and other users are not affected.
class LoginThrottle {
 public:
  using Clock = std::chrono::steady_clock;

  // False while the pair waits out its failures.
  bool MayTry(std::string_view client, std::string_view user, Clock::time_point now) const;
  void Failed(std::string_view client, std::string_view user, Clock::time_point now);
  void Succeeded(std::string_view client, std::string_view user);

 private:
  struct Failures {
    int count = 0;
    Clock::time_point waitUntil;
  };

  static std::string Key(std::string_view client, std::string_view user);
  // Forgets pairs whose wait has long ended, so that the table stays small.
  void Prune(Clock::time_point now);

  mutable std::mutex mutex_;
  std::map<std::string, Failures, std::less<>> failures_;
};

}  // namespace penlark::server

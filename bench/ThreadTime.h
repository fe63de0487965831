#pragma once

#include <time.h>

namespace penlark::bench {

// The processor time this thread has used, in seconds: what one core spends, whatever else the
// machine runs meanwhile. Under Wine it advances in steps of 10 ms and a reading takes about
// 0.1 ms (a request to Wine's server): there only the figures of long calls are the code's own.
inline double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

}  // namespace penlark::bench

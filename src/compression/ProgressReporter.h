#pragma once

#include "compression/ProgressListener.h"

#include <cstdint>

namespace penlark {

// The progress of one codec call: rounds each computed value to the nearest integer, halves to
// even, and raises it only when it differs from the last value raised (at first 0).
class ProgressReporter {
 public:
  explicit ProgressReporter(const ProgressListener& listener) : listener_(listener) {}

  // Reports `done / total * scale + offset`, computed in that order in double precision.
  void Report(std::int64_t done, std::int64_t total, double scale, double offset);
  void Report(double value);

 private:
  const ProgressListener& listener_;
  std::int16_t last_ = 0;
};

}  // namespace penlark

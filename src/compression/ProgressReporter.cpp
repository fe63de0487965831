#include "compression/ProgressReporter.h"

#include <cmath>

namespace penlark {

void ProgressReporter::Report(std::int64_t done, std::int64_t total, double scale, double offset) {
  Report(static_cast<double>(done) / static_cast<double>(total) * scale + offset);
}

void ProgressReporter::Report(double value) {
  // nearbyint rounds in the default mode, to nearest with halves to even.
  const auto rounded = static_cast<std::int16_t>(std::nearbyint(value));
  if (rounded == last_) {
    return;
  }
  last_ = rounded;
  if (listener_) {
    listener_(rounded);
  }
}

}  // namespace penlark

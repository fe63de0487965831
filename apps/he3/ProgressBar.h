#pragma once

#include <cstdint>
#include <ostream>

namespace penlark {

// A one-line progress bar redrawn in place on a terminal.
class ProgressBar {
 public:
  explicit ProgressBar(std::ostream& out) : out_(out) {}

  void Show(std::int16_t percent);
  // Ends the line if a bar was drawn, so that what follows starts on a fresh one.
  void Finish();

 private:
  std::ostream& out_;
  bool drawn_ = false;
};

}  // namespace penlark

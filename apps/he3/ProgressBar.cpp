#include "ProgressBar.h"

#include <algorithm>
#include <iomanip>
#include <string>

namespace penlark {

void ProgressBar::Show(std::int16_t percent) {
  constexpr int kWidth = 40;
  const int filled = std::clamp(int{percent}, 0, 100) * kWidth / 100;
  out_ << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
       << std::string(static_cast<std::size_t>(kWidth - filled), ' ') << "] " << std::setw(3)
       << percent << '%' << std::flush;
  drawn_ = true;
}

void ProgressBar::Finish() {
  if (drawn_) {
    out_ << '\n' << std::flush;
    drawn_ = false;
  }
}

}  // namespace penlark

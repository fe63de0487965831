#pragma once

#include <cmath>

// The dialog's model places its controls in twips (1/1440 inch); a view places its widgets in
// pixels at the screen's resolution.
namespace penlark {

inline constexpr double kTwipsPerInch = 1440.0;

inline int ToPixels(int twips, double dpi) {
  return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

inline double ToTwips(double pixels, double dpi) {
  return pixels * kTwipsPerInch / dpi;
}

}  // namespace penlark

#pragma once

#include "dialog/Controls.h"

#include <cmath>

#include <QPoint>
#include <QRect>

// The dialog's model places its controls in twips (1/1440 inch); the window places its widgets
// in logical pixels at the screen's resolution.
namespace penlark::qt {

inline constexpr double kTwipsPerInch = 1440.0;

inline int ToPixels(int twips, double dpi) {
  return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

inline double ToTwips(double pixels, double dpi) {
  return pixels * kTwipsPerInch / dpi;
}

inline QRect ToPixels(const Rect& rect, double dpi) {
  return {ToPixels(rect.Left, dpi), ToPixels(rect.Top, dpi), ToPixels(rect.Width, dpi),
          ToPixels(rect.Height, dpi)};
}

inline QPoint ToPixels(int x, int y, double dpi) {
  return {ToPixels(x, dpi), ToPixels(y, dpi)};
}

}  // namespace penlark::qt

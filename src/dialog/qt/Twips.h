#pragma once

#include "dialog/Controls.h"
#include "dialog/Twips.h"

#include <QPoint>
#include <QRect>

// Twips to Qt's logical pixels at the screen's resolution.
namespace penlark::qt {

using penlark::ToPixels;
using penlark::ToTwips;

inline QRect ToPixels(const Rect& rect, double dpi) {
  return {ToPixels(rect.Left, dpi), ToPixels(rect.Top, dpi), ToPixels(rect.Width, dpi),
          ToPixels(rect.Height, dpi)};
}

inline QPoint ToPixels(int x, int y, double dpi) {
  return {ToPixels(x, dpi), ToPixels(y, dpi)};
}

}  // namespace penlark::qt

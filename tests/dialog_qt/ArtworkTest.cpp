#include "dialog/qt/Artwork.h"

#include <array>
#include <limits>
#include <string>
#include <tuple>

#include <QColor>
#include <QImage>
#include <gtest/gtest.h>

namespace penlark::qt {
namespace {

QImage Pixels(const QPixmap& pixmap) {
  return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

// Pixels with at least the alpha and a saturation above the limit.
int CountPixels(const QImage& image, int alphaAtLeast, int saturationAbove = -1) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor colour = image.pixelColor(x, y);
      count += colour.alpha() >= alphaAtLeast && colour.hsvSaturation() > saturationAbove;
    }
  }
  return count;
}

std::array<QColor, 4> Edges(const QImage& image) {
  const int midX = image.width() / 2;
  const int midY = image.height() / 2;
  return {image.pixelColor(midX, 0), image.pixelColor(0, midY),
          image.pixelColor(midX, image.height() - 1), image.pixelColor(image.width() - 1, midY)};
}

// Normal bare, hover raised (light top-left), pressed sunken, disabled grey; at 1x and 2x.
TEST(Artwork, ButtonPictures) {
  const std::tuple<const char*, QPixmap (*)(int, qreal), QSize, int> buttons[] = {
      {"Reload", ChangesImage, {24, 24}, 1},
      {"UpOneLevel", ChangesImage, {24, 24}, 5},
      {"Delete", ChangesImage, {24, 24}, 9},
      {"CreateFolder", ChangesImage, {24, 24}, 13},
      {"Views", PropsImage, {35, 24}, 1}};
  for (const auto& [name, image, size, normal] : buttons) {
    for (const qreal ratio : {1.0, 2.0}) {
      SCOPED_TRACE(std::string(name) + " at " + std::to_string(ratio));
      std::array<std::array<QColor, 4>, 3> edges;
      for (int state = 0; state < 3; ++state) {
        const QPixmap pixmap = image(normal + state, ratio);
        EXPECT_EQ(pixmap.size(), size * ratio);
        EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(size));
        EXPECT_GT(CountPixels(Pixels(pixmap), 255), 0);
        edges[std::size_t(state)] = Edges(Pixels(pixmap));
      }
      const auto& [bare, raised, sunken] = edges;
      for (std::size_t edge = 0; edge < 4; ++edge) {
        EXPECT_EQ(std::tuple(bare[edge].alpha(), raised[edge].alpha(), sunken[edge].alpha()),
                  std::tuple(0, 255, 255));
        const std::size_t opposite = (edge + 2) % 4;
        EXPECT_EQ(raised[edge].lightness() > raised[opposite].lightness(), edge < 2);
        EXPECT_EQ(sunken[edge].lightness() > sunken[opposite].lightness(), edge >= 2);
      }
      if (image == ChangesImage) {
        const QImage coloured = Pixels(image(normal, ratio));
        const QImage disabled = Pixels(image(normal + 3, ratio));
        EXPECT_GT(CountPixels(coloured, 16, 100), 0);
        EXPECT_EQ(CountPixels(disabled, 16, 8), 0);
        EXPECT_EQ(disabled.convertToFormat(QImage::Format_Alpha8),
                  coloured.convertToFormat(QImage::Format_Alpha8));
      }
    }
  }
}

TEST(Artwork, NumbersOutsideEachSetAndRatiosNotPositiveGiveNull) {
  const std::tuple<QPixmap (*)(int, qreal), int, qreal> rows[] = {
      {ChangesImage, 0, 1.0},
      {ChangesImage, 17, 1.0},
      {PropsImage, 0, 1.0},
      {PropsImage, 4, 1.0},
      {ChangesImage, 1, 0.0},
      {ChangesImage, 1, std::numeric_limits<qreal>::quiet_NaN()},
      {PropsImage, 1, std::numeric_limits<qreal>::infinity()}};
  for (const auto& [image, picture, ratio] : rows) {
    EXPECT_TRUE(image(picture, ratio).isNull()) << picture << " at " << ratio;
  }
  EXPECT_TRUE(ListIcon(0).isNull());
  EXPECT_TRUE(ListIcon(5).isNull());
}

// A document (1, 3, 4) and a folder (2), each with its own 16 and 32 drawings at 1x and 2x.
TEST(Artwork, ListIcons) {
  for (int picture = 1; picture <= 4; ++picture) {
    const QIcon icon = ListIcon(picture);
    const QIcon other = ListIcon(picture == 2 ? 1 : 2);
    for (const int side : {16, 32}) {
      for (const qreal ratio : {1.0, 2.0}) {
        const QPixmap pixmap = icon.pixmap(QSize(side, side), ratio);
        EXPECT_EQ(pixmap.size(), QSize(side, side) * ratio) << picture << " " << side;
        EXPECT_GT(CountPixels(Pixels(pixmap), 255), 0);
        EXPECT_NE(Pixels(pixmap), Pixels(other.pixmap(QSize(side, side), ratio)));
      }
    }
    EXPECT_NE(Pixels(icon.pixmap(QSize(32, 32), 1.0)), Pixels(icon.pixmap(QSize(16, 16), 2.0)));
  }
}

}  // namespace
}  // namespace penlark::qt

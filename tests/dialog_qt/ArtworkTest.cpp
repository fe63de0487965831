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

constexpr qreal kRatios[] = {1.0, 2.0};

QImage Pixels(const QPixmap& pixmap) {
  return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

// Pixels with at least the alpha, a saturation above the limit and a hue the filter accepts.
int CountPixels(
    const QImage& image, int alphaAtLeast, int saturationAbove = -1,
    bool (*hue)(int) = [](int) { return true; }) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor colour = image.pixelColor(x, y);
      count += colour.alpha() >= alphaAtLeast && colour.hsvSaturation() > saturationAbove &&
               hue(colour.hsvHue());
    }
  }
  return count;
}

// The middle pixels of the top, left, bottom and right edges.
std::array<QColor, 4> Edges(const QImage& image) {
  const int midX = image.width() / 2;
  const int midY = image.height() / 2;
  return {image.pixelColor(midX, 0), image.pixelColor(0, midY),
          image.pixelColor(midX, image.height() - 1), image.pixelColor(image.width() - 1, midY)};
}

// Every image button at 1x and 2x: normal is the bare icon with the form showing round it, hover
// in a raised frame, pressed in a sunken one, disabled grey in the icon's shape; each at its
// list's size, drawn at its own resolution rather than enlarged, and kept after the first call.
TEST(Artwork, ButtonPictures) {
  const std::tuple<const char*, QPixmap (*)(int, qreal), QSize, int> buttons[] = {
      {"Reload", ChangesImage, {24, 24}, 1},
      {"UpOneLevel", ChangesImage, {24, 24}, 5},
      {"Delete", ChangesImage, {24, 24}, 9},
      {"CreateFolder", ChangesImage, {24, 24}, 13},
      {"Views", PropsImage, {35, 24}, 1}};
  for (const auto& [name, image, size, normal] : buttons) {
    for (const qreal ratio : kRatios) {
      SCOPED_TRACE(std::string(name) + " at " + std::to_string(ratio));
      std::array<std::array<QColor, 4>, 3> edges;
      for (int state = 0; state < 3; ++state) {
        const QPixmap pixmap = image(normal + state, ratio);
        EXPECT_EQ(pixmap.size(), size * ratio);
        EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(size));
        EXPECT_EQ(pixmap.cacheKey(), image(normal + state, ratio).cacheKey());
        EXPECT_GT(CountPixels(Pixels(pixmap), 255), 0);
        edges[std::size_t(state)] = Edges(Pixels(pixmap));
        const QImage oneTime = Pixels(image(normal + state, 1.0));
        for (const auto mode : {Qt::FastTransformation, Qt::SmoothTransformation}) {
          EXPECT_TRUE(ratio == 1.0 || image == PropsImage ||
                      Pixels(pixmap) != oneTime.scaled(size * 2, {}, mode));
        }
      }
      const auto& [bare, raised, sunken] = edges;
      for (std::size_t edge = 0; edge < 4; ++edge) {
        EXPECT_EQ(bare[edge].alpha(), 0);
        EXPECT_EQ(raised[edge].alpha(), 255);
        EXPECT_EQ(sunken[edge].alpha(), 255);
      }
      // Light on the top and left of a raised frame, dark there on a sunken one.
      EXPECT_GT(raised[0].lightness(), raised[2].lightness());
      EXPECT_GT(raised[1].lightness(), raised[3].lightness());
      EXPECT_LT(sunken[0].lightness(), sunken[2].lightness());
      EXPECT_LT(sunken[1].lightness(), sunken[3].lightness());
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
  constexpr int kMin = std::numeric_limits<int>::min();
  constexpr int kMax = std::numeric_limits<int>::max();
  for (const int picture : {0, -1, 17, kMin, kMax}) {
    EXPECT_TRUE(ChangesImage(picture, 1.0).isNull()) << picture;
  }
  for (const int picture : {0, -1, 4, 5, kMax}) {
    EXPECT_TRUE(PropsImage(picture, 1.0).isNull()) << picture;
  }
  for (const int picture : {0, -1, 5, kMax}) {
    EXPECT_TRUE(ListIcon(picture).isNull()) << picture;
  }
  for (const qreal ratio : {0.0, -1.0, std::numeric_limits<qreal>::quiet_NaN(),
                            std::numeric_limits<qreal>::infinity()}) {
    EXPECT_TRUE(ChangesImage(1, ratio).isNull()) << ratio;
    EXPECT_TRUE(PropsImage(1, ratio).isNull()) << ratio;
  }
}

// Delete's icon is the red cross: every strongly coloured pixel is red.
TEST(Artwork, DeleteIsARedCross) {
  const QImage normal = Pixels(ChangesImage(9, 1.0));
  const int red = CountPixels(normal, 255, 100, [](int hue) { return hue < 15 || hue > 345; });
  EXPECT_EQ(red, CountPixels(normal, 255, 100));
  EXPECT_GT(red, 24);
}

// A document (1, 3, 4) and a folder (2), each with its own 16 and 32 drawings at 1x and 2x.
TEST(Artwork, ListIcons) {
  for (int picture = 1; picture <= 4; ++picture) {
    const QIcon icon = ListIcon(picture);
    for (const int side : {16, 32}) {
      for (const qreal ratio : kRatios) {
        SCOPED_TRACE(std::to_string(picture) + ", " + std::to_string(side) + " at " +
                     std::to_string(ratio));
        const QPixmap pixmap = icon.pixmap(QSize(side, side), ratio);
        EXPECT_EQ(pixmap.size(), QSize(side, side) * ratio);
        EXPECT_GT(CountPixels(Pixels(pixmap), 255), 0);
        EXPECT_NE(Pixels(pixmap),
                  Pixels(ListIcon(picture == 2 ? 1 : 2).pixmap(QSize(side, side), ratio)))
            << "a document and a folder differ";
      }
    }
    const QImage large = Pixels(icon.pixmap(QSize(32, 32), 1.0));
    EXPECT_NE(large, Pixels(icon.pixmap(QSize(16, 16), 2.0)));
    EXPECT_NE(large, Pixels(icon.pixmap(QSize(16, 16), 1.0)).scaled(32, 32));
  }
}

}  // namespace
}  // namespace penlark::qt

#include "dialog/qt/Artwork.h"

#include <limits>
#include <ostream>
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

bool HasOpaquePixels(const QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qAlpha(image.pixel(x, y)) == 255) {
        return true;
      }
    }
  }
  return false;
}

QImage AlphaOf(const QImage& image) {
  return image.convertToFormat(QImage::Format_Alpha8);
}

// Pixels with enough coverage to show a colour whose saturation exceeds the limit.
int ColouredPixels(const QImage& image, int saturationAbove) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor colour = QColor::fromRgba(image.pixel(x, y));
      count += colour.alpha() >= 16 && colour.hsvSaturation() > saturationAbove ? 1 : 0;
    }
  }
  return count;
}

// An image button: the numbers of its normal, hover and pressed pictures in its list.
struct Button {
  const char* name;
  QPixmap (*image)(int picture, qreal devicePixelRatio);
  QSize size;
  int normal, hover, pressed;
};

const Button kButtons[] = {
    {"Reload", ChangesImage, QSize(24, 24), 1, 2, 3},
    {"UpOneLevel", ChangesImage, QSize(24, 24), 5, 6, 7},
    {"Delete", ChangesImage, QSize(24, 24), 9, 10, 11},
    {"CreateFolder", ChangesImage, QSize(24, 24), 13, 14, 15},
    {"Views", PropsImage, QSize(35, 24), 1, 2, 3},
};

void PrintTo(const Button& button, std::ostream* out) {
  *out << button.name;
}

// The middle pixels of the four edges of a picture.
struct Edges {
  QColor top, left, bottom, right;
};

Edges EdgesOf(const QImage& image) {
  const int midX = image.width() / 2;
  const int midY = image.height() / 2;
  return {image.pixelColor(midX, 0), image.pixelColor(0, midY),
          image.pixelColor(midX, image.height() - 1), image.pixelColor(image.width() - 1, midY)};
}

void ExpectAlphaOnEveryEdge(const Edges& edges, int alpha) {
  EXPECT_EQ(edges.top.alpha(), alpha);
  EXPECT_EQ(edges.left.alpha(), alpha);
  EXPECT_EQ(edges.bottom.alpha(), alpha);
  EXPECT_EQ(edges.right.alpha(), alpha);
}

// Every image button at 1x and at 2x.
class ButtonPictures : public testing::TestWithParam<std::tuple<Button, qreal>> {
 protected:
  const Button& button() const { return std::get<0>(GetParam()); }
  qreal ratio() const { return std::get<1>(GetParam()); }
  QPixmap Picture(int number) const { return button().image(number, ratio()); }
};

std::string TestName(const testing::TestParamInfo<ButtonPictures::ParamType>& test) {
  const auto& [button, ratio] = test.param;
  return std::string(button.name) + "At" + std::to_string(int(ratio)) + "x";
}

INSTANTIATE_TEST_SUITE_P(AllButtons, ButtonPictures,
                         testing::Combine(testing::ValuesIn(kButtons), testing::ValuesIn(kRatios)),
                         TestName);

TEST_P(ButtonPictures, HaveTheirListsLogicalSize) {
  for (const int number : {button().normal, button().hover, button().pressed}) {
    SCOPED_TRACE(number);
    const QPixmap pixmap = Picture(number);
    EXPECT_EQ(pixmap.size(), button().size * ratio());
    EXPECT_EQ(pixmap.devicePixelRatio(), ratio());
    EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(button().size));
    EXPECT_TRUE(HasOpaquePixels(Pixels(pixmap)));
  }
}

TEST_P(ButtonPictures, NormalHoverAndPressedAllDiffer) {
  const QImage normal = Pixels(Picture(button().normal));
  const QImage hover = Pixels(Picture(button().hover));
  const QImage pressed = Pixels(Picture(button().pressed));
  EXPECT_NE(normal, hover);
  EXPECT_NE(normal, pressed);
  EXPECT_NE(hover, pressed);
}

TEST_P(ButtonPictures, NormalIsTheBareIconWithTheFormShowingRoundIt) {
  ExpectAlphaOnEveryEdge(EdgesOf(Pixels(Picture(button().normal))), 0);
}

TEST_P(ButtonPictures, HoverIsRaisedAndPressedIsSunken) {
  const Edges hover = EdgesOf(Pixels(Picture(button().hover)));
  ExpectAlphaOnEveryEdge(hover, 255);
  EXPECT_GT(hover.top.lightness(), hover.bottom.lightness());
  EXPECT_GT(hover.left.lightness(), hover.right.lightness());
  const Edges pressed = EdgesOf(Pixels(Picture(button().pressed)));
  ExpectAlphaOnEveryEdge(pressed, 255);
  EXPECT_LT(pressed.top.lightness(), pressed.bottom.lightness());
  EXPECT_LT(pressed.left.lightness(), pressed.right.lightness());
}

TEST_P(ButtonPictures, AreCachedAfterTheFirstCall) {
  EXPECT_EQ(Picture(button().hover).cacheKey(), Picture(button().hover).cacheKey());
}

// Picture numbers outside each set, and device pixel ratios that are not positive numbers, give
// no picture.
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

TEST(ChangesImage, TwoTimesPicturesAreDrawnAtTheirOwnResolutionNotEnlarged) {
  for (int picture = 1; picture <= 16; ++picture) {
    SCOPED_TRACE(picture);
    const QImage oneTime = Pixels(ChangesImage(picture, 1.0));
    const QImage twoTimes = Pixels(ChangesImage(picture, 2.0));
    EXPECT_NE(twoTimes, oneTime.scaled(48, 48, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    EXPECT_NE(twoTimes, oneTime.scaled(48, 48, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  }
}

TEST(ChangesImage, DisabledPicturesAreGreyInTheShapeOfTheIcon) {
  for (int button = 0; button < 4; ++button) {
    for (const qreal ratio : kRatios) {
      SCOPED_TRACE("button " + std::to_string(button) + " at " + std::to_string(ratio));
      const QImage normal = Pixels(ChangesImage(4 * button + 1, ratio));
      const QImage disabled = Pixels(ChangesImage(4 * button + 4, ratio));
      EXPECT_GT(ColouredPixels(normal, 100), 0);
      EXPECT_EQ(ColouredPixels(disabled, 8), 0);
      EXPECT_EQ(disabled.size(), normal.size());
      EXPECT_EQ(AlphaOf(disabled), AlphaOf(normal));
    }
  }
}

TEST(ChangesImage, DeleteIsARedCross) {
  const QImage normal = Pixels(ChangesImage(9, 1.0));
  int red = 0;
  for (int y = 0; y < normal.height(); ++y) {
    for (int x = 0; x < normal.width(); ++x) {
      const QColor colour = normal.pixelColor(x, y);
      const int hue = colour.hsvHue();
      if (colour.alpha() == 255 && colour.hsvSaturation() > 100) {
        EXPECT_TRUE(hue < 15 || hue > 345) << "hue " << hue << " at " << x << "," << y;
        ++red;
      }
    }
  }
  EXPECT_GT(red, 24);
}

TEST(ListIcon, EveryPictureHasA16And32DrawingAtOneAndTwoTimes) {
  for (int picture = 1; picture <= 4; ++picture) {
    const QIcon icon = ListIcon(picture);
    ASSERT_FALSE(icon.isNull()) << picture;
    EXPECT_TRUE(icon.availableSizes().contains(QSize(16, 16)));
    EXPECT_TRUE(icon.availableSizes().contains(QSize(32, 32)));
    for (const int side : {16, 32}) {
      for (const qreal ratio : kRatios) {
        SCOPED_TRACE("picture " + std::to_string(picture) + ", " + std::to_string(side) + " at " +
                     std::to_string(ratio));
        const QPixmap pixmap = icon.pixmap(QSize(side, side), ratio);
        EXPECT_EQ(pixmap.size(), QSize(side, side) * ratio);
        EXPECT_EQ(pixmap.devicePixelRatio(), ratio);
        EXPECT_TRUE(HasOpaquePixels(Pixels(pixmap)));
      }
    }
  }
}

TEST(ListIcon, LargeDrawingIsItsOwnNotTheSmallOneEnlarged) {
  for (const int picture : {1, 2}) {
    SCOPED_TRACE(picture);
    const QIcon icon = ListIcon(picture);
    const QImage large = Pixels(icon.pixmap(QSize(32, 32), 1.0));
    const QImage smallAtTwoTimes = Pixels(icon.pixmap(QSize(16, 16), 2.0));
    EXPECT_NE(large, smallAtTwoTimes);
    EXPECT_NE(large, Pixels(icon.pixmap(QSize(16, 16), 1.0)).scaled(32, 32));
  }
}

TEST(ListIcon, DocumentAndFolderDiffer) {
  EXPECT_NE(Pixels(ListIcon(1).pixmap(QSize(16, 16), 1.0)),
            Pixels(ListIcon(2).pixmap(QSize(16, 16), 1.0)));
  EXPECT_NE(Pixels(ListIcon(1).pixmap(QSize(32, 32), 1.0)),
            Pixels(ListIcon(2).pixmap(QSize(32, 32), 1.0)));
}

}  // namespace
}  // namespace penlark::qt

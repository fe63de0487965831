#include "dialog/qt/Artwork.h"

#include <array>
#include <cmath>
#include <vector>

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>

namespace penlark::qt {
namespace {

// The pictures of a button, in the order of its picture list.
enum class ButtonState { Normal, Hover, Pressed, Disabled };
constexpr int kStatesPerButton = 4;

constexpr QSize kChangesButtonSize{24, 24};
constexpr QSize kPropsButtonSize{35, 24};
constexpr int kSmallIconSize = 16;
constexpr int kLargeIconSize = 32;

// The edges of a raised or sunken button on the form's beige.
constexpr QColor kFrameLight{255, 255, 255};
constexpr QColor kFrameShadow{172, 168, 153};

// The bare icons of changesImageList's buttons, in the order of their pictures.
constexpr std::array<const char*, 4> kChangesIcons{
    ":/penlark/art/reload.svg",
    ":/penlark/art/up-one-level.svg",
    ":/penlark/art/delete.svg",
    ":/penlark/art/create-folder.svg",
};
constexpr const char* kViewsIcon = ":/penlark/art/views.svg";

bool IsUsableRatio(qreal devicePixelRatio) {
  return std::isfinite(devicePixelRatio) && devicePixelRatio > 0;
}

// A frame one logical pixel wide round the whole image: topLeft on the top and left edges,
// bottomRight on the bottom and right ones.
void DrawFrame(QImage& image, QColor topLeft, QColor bottomRight) {
  const QSize size = image.deviceIndependentSize().toSize();
  QPainter painter(&image);
  const int right = size.width() - 1;
  const int bottom = size.height() - 1;
  painter.fillRect(0, 0, right, 1, topLeft);
  painter.fillRect(0, 0, 1, bottom, topLeft);
  painter.fillRect(0, bottom, size.width(), 1, bottomRight);
  painter.fillRect(right, 0, 1, size.height(), bottomRight);
}

// Turns every pixel into a grey of its own brightness, lifted towards white so that the picture
// reads as inactive, keeping its coverage.
void Grey(QImage& image) {
  constexpr int kDarkest = 120;
  constexpr int kLightest = 245;
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      // The image is premultiplied: the grey, like every channel, is scaled by the alpha.
      const int alpha = qAlpha(line[x]);
      const int grey = (kDarkest * alpha + qGray(line[x]) * (kLightest - kDarkest)) / 255;
      line[x] = qRgba(grey, grey, grey, alpha);
    }
  }
}

// A transparent image of canvasSize (logical pixels) at the device pixel ratio, holding the SVG
// file's drawing at its own size, centred on whole pixels and then moved by shift; null when the
// file holds no drawing. Painters on the image work in logical pixels.
QImage DrawCentred(const QString& svgFile, QSize canvasSize, QPoint shift, qreal devicePixelRatio) {
  QSvgRenderer svg(svgFile);
  if (!svg.isValid()) {
    return {};
  }
  QImage image(qRound(canvasSize.width() * devicePixelRatio),
               qRound(canvasSize.height() * devicePixelRatio), QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(devicePixelRatio);
  image.fill(Qt::transparent);
  const QSize size = svg.defaultSize();
  const QPoint topLeft((canvasSize.width() - size.width()) / 2,
                       (canvasSize.height() - size.height()) / 2);
  QPainter painter(&image);
  svg.render(&painter, QRectF(topLeft + shift, size));
  painter.end();
  return image;
}

// One picture of an image button: the bare icon centred on the button, in a raised frame when the
// pointer hovers, in a sunken frame and moved down and right by a pixel when pressed, and greyed
// when disabled. Every state of every button is derived here.
QPixmap DrawButton(const char* bareIcon, QSize buttonSize, ButtonState state,
                   qreal devicePixelRatio) {
  const bool pressed = state == ButtonState::Pressed;
  QImage image = DrawCentred(QString::fromLatin1(bareIcon), buttonSize,
                             pressed ? QPoint(1, 1) : QPoint(), devicePixelRatio);
  if (image.isNull()) {
    return {};
  }
  if (state == ButtonState::Hover) {
    DrawFrame(image, kFrameLight, kFrameShadow);
  } else if (pressed) {
    DrawFrame(image, kFrameShadow, kFrameLight);
  } else if (state == ButtonState::Disabled) {
    Grey(image);
  }
  return QPixmap::fromImage(std::move(image));
}

// The picture under key from the application's pixmap cache, drawn and stored on first use.
template <typename Draw>
QPixmap Cached(const QString& key, Draw draw) {
  QPixmap pixmap;
  if (!QPixmapCache::find(key, &pixmap)) {
    pixmap = draw();
    QPixmapCache::insert(key, pixmap);
  }
  return pixmap;
}

QString CacheKey(const char* kind, int number, qreal devicePixelRatio) {
  return QStringLiteral("penlark/art/%1/%2@%3")
      .arg(QLatin1String(kind))
      .arg(number)
      .arg(devicePixelRatio);
}

}  // namespace

QPixmap ChangesImage(int picture, qreal devicePixelRatio) {
  if (picture < 1 || picture > kStatesPerButton * int(kChangesIcons.size()) ||
      !IsUsableRatio(devicePixelRatio)) {
    return {};
  }
  return Cached(CacheKey("changes", picture, devicePixelRatio), [&] {
    const int index = picture - 1;
    return DrawButton(kChangesIcons[std::size_t(index / kStatesPerButton)], kChangesButtonSize,
                      ButtonState(index % kStatesPerButton), devicePixelRatio);
  });
}

QPixmap PropsImage(int picture, qreal devicePixelRatio) {
  if (picture < 1 || picture > 3 || !IsUsableRatio(devicePixelRatio)) {
    return {};
  }
  return Cached(CacheKey("props", picture, devicePixelRatio), [&] {
    return DrawButton(kViewsIcon, kPropsButtonSize, ButtonState(picture - 1), devicePixelRatio);
  });
}

QIcon ListIcon(int picture) {
  if (picture < 1 || picture > 4) {
    return {};
  }
  const char* name = picture == 2 ? "folder" : "document";
  std::vector<qreal> ratios{1.0, 2.0};
  if (const qreal screens = qGuiApp->devicePixelRatio(); screens != 1.0 && screens != 2.0) {
    ratios.push_back(screens);
  }
  QIcon icon;
  for (const int side : {kSmallIconSize, kLargeIconSize}) {
    const QString file =
        QStringLiteral(":/penlark/art/%1-%2.svg").arg(QLatin1String(name)).arg(side);
    for (const qreal ratio : ratios) {
      icon.addPixmap(Cached(CacheKey(name, side, ratio), [&] {
        return QPixmap::fromImage(DrawCentred(file, QSize(side, side), QPoint(), ratio));
      }));
    }
  }
  return icon;
}

}  // namespace penlark::qt

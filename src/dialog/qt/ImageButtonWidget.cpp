#include "dialog/qt/ImageButtonWidget.h"

#include "dialog/qt/Twips.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace penlark::qt {

int ButtonCode(Qt::MouseButtons buttons) {
  return (buttons.testFlag(Qt::LeftButton) ? 1 : 0) | (buttons.testFlag(Qt::RightButton) ? 2 : 0) |
         (buttons.testFlag(Qt::MiddleButton) ? 4 : 0);
}

int ShiftCode(Qt::KeyboardModifiers modifiers) {
  return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) |
         (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) |
         (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

ImageButtonWidget::ImageButtonWidget(QWidget* parent, Handler onDown, Handler onMove, Handler onUp)
    : QWidget(parent),
      onDown_(std::move(onDown)),
      onMove_(std::move(onMove)),
      onUp_(std::move(onUp)) {
  setMouseTracking(true);
  setFocusPolicy(Qt::TabFocus);
}

void ImageButtonWidget::SetPicture(const QPixmap& picture) {
  if (picture.cacheKey() == picture_.cacheKey()) {
    return;
  }
  picture_ = picture;
  update();
}

void ImageButtonWidget::paintEvent(QPaintEvent*) {
  if (picture_.isNull()) {
    return;
  }
  QPainter painter(this);
  const QSizeF size = picture_.deviceIndependentSize();
  painter.drawPixmap(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2),
                     picture_);
}

MouseEventArgs ImageButtonWidget::ToArgs(const QMouseEvent& event, Qt::MouseButtons buttons) const {
  const double dpi = logicalDpiX();
  return {ButtonCode(buttons), ShiftCode(event.modifiers()), ToTwips(event.position().x(), dpi),
          ToTwips(event.position().y(), dpi)};
}

void ImageButtonWidget::mousePressEvent(QMouseEvent* event) {
  onDown_(ToArgs(*event, event->button()));
}

void ImageButtonWidget::mouseMoveEvent(QMouseEvent* event) {
  onMove_(ToArgs(*event, event->buttons()));
}

void ImageButtonWidget::mouseReleaseEvent(QMouseEvent* event) {
  onUp_(ToArgs(*event, event->button()));
}

}  // namespace penlark::qt

namespace penlark::qt {

void ImageButtonWidget::ClickFromKeyboard() {
  const double dpi = logicalDpiX();
  const MouseEventArgs middle{1, 0, ToTwips(width() / 2.0, dpi), ToTwips(height() / 2.0, dpi)};
  onDown_(middle);
  onUp_(middle);
}

void ImageButtonWidget::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
      event->key() == Qt::Key_Enter) {
    ClickFromKeyboard();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace penlark::qt

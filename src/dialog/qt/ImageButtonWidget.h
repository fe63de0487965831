#pragma once

#include "dialog/ControlTable.h"

#include <functional>

#include <QPixmap>
#include <QWidget>

// An image used as a button: draws the picture it is given and reports the mouse in the terms of
// the dialog's handlers (button and shift codes, position in twips relative to the control).
// While a mouse button is down it keeps receiving the mouse, also outside itself.
namespace penlark::qt {

class ImageButtonWidget final : public QWidget {
 public:
  using Handler = MouseEventHandler;

  ImageButtonWidget(QWidget* parent, Handler onDown, Handler onMove, Handler onUp);

  void SetPicture(const QPixmap& picture);
  const QPixmap& Picture() const { return picture_; }
  // A press and release in the middle of the button, for the keyboard.
  void ClickFromKeyboard();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  MouseEventArgs ToArgs(const QMouseEvent& event, Qt::MouseButtons buttons) const;

  QPixmap picture_;
  Handler onDown_;
  Handler onMove_;
  Handler onUp_;
};

// The codes of the dialog's mouse events.
int ButtonCode(Qt::MouseButtons buttons);
int ShiftCode(Qt::KeyboardModifiers modifiers);

}  // namespace penlark::qt

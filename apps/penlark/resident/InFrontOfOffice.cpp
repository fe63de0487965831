#include "resident/InFrontOfOffice.h"

#include <sstream>

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace penlark::cli {

InFrontOfOffice::InFrontOfOffice(const std::string& window) {
  std::istringstream fields(window);
  unsigned long long id = 0;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  char comma[4] = {};
  fields >> id >> comma[0] >> x >> comma[1] >> y >> comma[2] >> width >> comma[3] >> height;
  if (!fields || !fields.eof() || std::string_view(comma, 4) != ",,,," || width <= 0 ||
      height <= 0) {
    return;
  }
  area_ = QRect(x, y, width, height);
  // Only an X11 window id names a window we can stand in front of.
  if (QGuiApplication::platformName() == "xcb") {
    office_.reset(QWindow::fromWinId(static_cast<WId>(id)));
  }
  qApp->installEventFilter(this);
}

InFrontOfOffice::~InFrontOfOffice() {
  qApp->removeEventFilter(this);
}

// A window is shown after its own placement (a dialog centres itself on the screen), and just
// before the window system maps it.
bool InFrontOfOffice::eventFilter(QObject* watched, QEvent* event) {
  auto* widget = qobject_cast<QWidget*>(watched);
  if (event->type() == QEvent::Show && widget != nullptr && widget->isWindow()) {
    if (office_ && widget->windowHandle() != nullptr) {
      widget->windowHandle()->setTransientParent(office_.get());
    }
    QRect frame = widget->frameGeometry();
    frame.moveCenter(area_.center());
    widget->move(frame.topLeft());
  }
  return false;
}

}  // namespace penlark::cli

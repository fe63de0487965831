#include "dialog/qt/QtDialogView.h"

#include "dialog/OpenDialog.h"
#include "dialog/qt/DialogWindow.h"

template class penlark::WindowView<penlark::qt::DialogWindow>;

namespace penlark::qt {

QWidget& QtDialogView::Window() const {
  return TheWindow();
}

}  // namespace penlark::qt

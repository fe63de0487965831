#pragma once

#include "dialog/LiveViews.h"
#include "dialog/WindowView.h"

class QWidget;

// The dialog on the desktop: a Qt window bound to an OpenDialog.
namespace penlark::qt {

class DialogWindow;

class QtDialogView : public WindowView<DialogWindow> {
 public:
  using WindowView::WindowView;

  // The window, for tests and for placing other windows.
  QWidget& Window() const;
};

// Creates the window of each dialog.
using QtDialogViews = LiveViews<QtDialogView>;

}  // namespace penlark::qt

extern template class penlark::WindowView<penlark::qt::DialogWindow>;

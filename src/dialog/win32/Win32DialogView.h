#pragma once

#include "dialog/LiveViews.h"
#include "dialog/WindowView.h"

#include <string_view>
#include <windows.h>

// The dialog on Windows: a window of the common controls bound to an OpenDialog.
namespace penlark::win32 {

class DialogWindow;

class Win32DialogView : public WindowView<DialogWindow> {
 public:
  using WindowView::WindowView;

  // The top-level window, and the window of a control by its name, for tests and screenshots.
  HWND Window() const;
  HWND ControlWindow(std::string_view name) const;
};

// Creates the window of each dialog.
using Win32DialogViews = LiveViews<Win32DialogView>;

}  // namespace penlark::win32

extern template class penlark::WindowView<penlark::win32::DialogWindow>;

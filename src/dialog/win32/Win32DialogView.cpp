#include "dialog/win32/Win32DialogView.h"

#include "dialog/OpenDialog.h"
#include "dialog/win32/DialogWindow.h"

template class penlark::WindowView<penlark::win32::DialogWindow>;

namespace penlark::win32 {

HWND Win32DialogView::Window() const {
  return TheWindow().Window();
}

HWND Win32DialogView::ControlWindow(std::string_view name) const {
  return TheWindow().ControlWindow(name);
}

}  // namespace penlark::win32

#include "dialog/win32/Win32DialogView.h"

#include "dialog/OpenDialog.h"
#include "dialog/win32/DialogWindow.h"

#include <utility>

namespace penlark::win32 {

Win32DialogView::Win32DialogView(OpenDialog& dialog)
    : dialog_(dialog),
      window_(std::make_unique<DialogWindow>(
          dialog, [this](const std::function<void(OpenDialog&)>& handler) { Dispatch(handler); })) {
  Refresh();
}

// Views are destroyed once their modal showing has returned, outside any of their handlers.
Win32DialogView::~Win32DialogView() = default;

void Win32DialogView::ShowModal() {
  Refresh();
  window_->ShowModal([this] { return closed_; });
  if (failure_) {
    std::rethrow_exception(std::exchange(failure_, nullptr));
  }
}

void Win32DialogView::Close() {
  closed_ = true;
  window_->Hide();
}

void Win32DialogView::PopupViewMenu(int x, int y) {
  window_->PopupViewMenu(dialog_, x, y);
}

void Win32DialogView::Refresh() {
  if (!closed_) {
    window_->Draw(dialog_);
  }
}

HWND Win32DialogView::Window() const {
  return window_->Window();
}

HWND Win32DialogView::ControlWindow(std::string_view name) const {
  return window_->ControlWindow(name);
}

void Win32DialogView::Dispatch(const std::function<void(OpenDialog&)>& handler) {
  if (closed_) {
    return;
  }
  try {
    handler(dialog_);
  } catch (...) {
    // Windows' message dispatch must not be unwound: end the showing and raise the error from
    // ShowModal.
    failure_ = std::current_exception();
    Close();
    return;
  }
  Refresh();
}

}  // namespace penlark::win32

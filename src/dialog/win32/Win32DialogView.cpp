#include "dialog/win32/Win32DialogView.h"

#include "dialog/OpenDialog.h"
#include "dialog/win32/DialogWindow.h"

#include <algorithm>
#include <utility>

namespace penlark::win32 {

Win32DialogView::Win32DialogView(OpenDialog& dialog, std::vector<Win32DialogView*>& live)
    : dialog_(dialog),
      live_(live),
      window_(std::make_unique<DialogWindow>(
          dialog, [this](const std::function<void(OpenDialog&)>& handler) { Dispatch(handler); })) {
  live_.push_back(this);
  Refresh();
}

// Views are destroyed once their modal showing has returned, outside any of their handlers.
Win32DialogView::~Win32DialogView() {
  std::erase(live_, this);
}

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

std::unique_ptr<DialogView> Win32DialogViews::CreateView(OpenDialog& dialog) {
  return std::make_unique<Win32DialogView>(dialog, live_);
}

void Win32DialogViews::RefreshAll() {
  for (Win32DialogView* view : live_) {
    view->Refresh();
  }
}

Win32DialogView* Win32DialogViews::Newest() const {
  return live_.empty() ? nullptr : live_.back();
}

}  // namespace penlark::win32

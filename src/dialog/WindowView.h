#pragma once

#include "dialog/DialogView.h"

#include <exception>
#include <functional>
#include <memory>
#include <utility>

// A toolkit's view of a dialog: a window bound to an OpenDialog. The window draws the dialog's
// controls, writes the user's edits into them and calls the handler of each event; after every
// handler the controls are drawn again. It decides nothing itself.
namespace penlark {

// `Window` is made from the dialog and a Dispatcher, and has Draw(dialog),
// PopupViewMenu(dialog, x, y), ShowModal(done) (shows the window until `done` holds) and End()
// (takes the window down). The members are instantiated by the toolkit's view, which knows the
// window's class: `template class WindowView<Window>;` there.
template <class Window>
class WindowView : public DialogView {
 public:
  explicit WindowView(OpenDialog& dialog);
  ~WindowView() override;

  void ShowModal() override;
  void Close() override;
  void PopupViewMenu(int x, int y) override;

  // Draws the dialog's controls as they are now.
  void Refresh();

 protected:
  Window& TheWindow() const { return *window_; }

 private:
  // Runs a handler of the dialog for an event, then draws the controls again. An error raised
  // by the handler ends the showing and is raised again by ShowModal: the toolkit's event loop
  // must not be unwound.
  void Dispatch(const std::function<void(OpenDialog&)>& handler);

  OpenDialog& dialog_;
  std::unique_ptr<Window> window_;
  std::exception_ptr failure_;
  bool closed_ = false;
};

template <class Window>
WindowView<Window>::WindowView(OpenDialog& dialog)
    : dialog_(dialog),
      window_(std::make_unique<Window>(
          dialog, [this](const std::function<void(OpenDialog&)>& handler) { Dispatch(handler); })) {
  Refresh();
}

// Views are destroyed once their modal showing has returned, outside any of their handlers.
template <class Window>
WindowView<Window>::~WindowView() = default;

template <class Window>
void WindowView<Window>::ShowModal() {
  // A failing handler ends a showing and leaves its dialog loaded: the next showing answers again.
  closed_ = false;
  Refresh();
  window_->ShowModal([this] { return closed_; });
  if (failure_) {
    std::rethrow_exception(std::exchange(failure_, nullptr));
  }
}

template <class Window>
void WindowView<Window>::Close() {
  closed_ = true;
  window_->End();
}

template <class Window>
void WindowView<Window>::PopupViewMenu(int x, int y) {
  window_->PopupViewMenu(dialog_, x, y);
}

template <class Window>
void WindowView<Window>::Refresh() {
  if (!closed_) {
    window_->Draw(dialog_);
  }
}

template <class Window>
void WindowView<Window>::Dispatch(const std::function<void(OpenDialog&)>& handler) {
  if (closed_) {
    return;
  }
  try {
    handler(dialog_);
  } catch (...) {
    failure_ = std::current_exception();
    Close();
    return;
  }
  Refresh();
}

}  // namespace penlark

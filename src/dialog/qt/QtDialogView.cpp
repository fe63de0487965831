#include "dialog/qt/QtDialogView.h"

#include "dialog/OpenDialog.h"
#include "dialog/qt/DialogWindow.h"

namespace penlark::qt {

QtDialogView::QtDialogView(OpenDialog& dialog)
    : dialog_(dialog),
      window_(std::make_unique<DialogWindow>(
          dialog, [this](const std::function<void(OpenDialog&)>& handler) { Dispatch(handler); })) {
  Refresh();
}

// Views are destroyed once their modal showing has returned, outside any of their handlers.
QtDialogView::~QtDialogView() = default;

void QtDialogView::ShowModal() {
  Refresh();
  window_->exec();
  if (failure_) {
    std::rethrow_exception(std::exchange(failure_, nullptr));
  }
}

void QtDialogView::Close() {
  closed_ = true;
  window_->done(QDialog::Accepted);
}

void QtDialogView::PopupViewMenu(int x, int y) {
  window_->PopupViewMenu(dialog_, x, y);
}

void QtDialogView::Refresh() {
  if (!closed_) {
    window_->Draw(dialog_);
  }
}

QWidget& QtDialogView::Window() {
  return *window_;
}

void QtDialogView::Dispatch(const std::function<void(OpenDialog&)>& handler) {
  if (closed_) {
    return;
  }
  try {
    handler(dialog_);
  } catch (...) {
    // Qt's event loop must not be unwound: end the showing and raise the error from ShowModal.
    failure_ = std::current_exception();
    closed_ = true;
    window_->done(QDialog::Rejected);
    return;
  }
  Refresh();
}

}  // namespace penlark::qt

#include "dialog/qt/QtDialogView.h"

#include "dialog/OpenDialog.h"
#include "dialog/qt/DialogWindow.h"

#include <algorithm>

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

// A view that leaves the list of live views when it is destroyed.
class QtDialogViews::TrackedView final : public DialogView {
 public:
  TrackedView(OpenDialog& dialog, std::vector<QtDialogView*>& views)
      : view_(dialog), views_(views) {
    views_.push_back(&view_);
  }
  ~TrackedView() override { std::erase(views_, &view_); }
  TrackedView(const TrackedView&) = delete;
  TrackedView& operator=(const TrackedView&) = delete;

  void ShowModal() override { view_.ShowModal(); }
  void Close() override { view_.Close(); }
  void PopupViewMenu(int x, int y) override { view_.PopupViewMenu(x, y); }

 private:
  QtDialogView view_;
  std::vector<QtDialogView*>& views_;
};

std::unique_ptr<DialogView> QtDialogViews::CreateView(OpenDialog& dialog) {
  return std::make_unique<TrackedView>(dialog, views_);
}

void QtDialogViews::RefreshAll() {
  for (QtDialogView* view : views_) {
    view->Refresh();
  }
}

QtDialogView* QtDialogViews::Newest() const {
  return views_.empty() ? nullptr : views_.back();
}

}  // namespace penlark::qt

#pragma once

#include "dialog/DialogView.h"
#include "dialog/LiveViews.h"

#include <exception>
#include <functional>
#include <memory>

class QWidget;

// The dialog on the desktop: a Qt window bound to an OpenDialog. The window draws the dialog's
// controls, writes the user's edits into them and calls the handler of each event; after every
// handler it draws the controls again. It decides nothing itself.
namespace penlark::qt {

class DialogWindow;

class QtDialogView : public DialogView {
 public:
  explicit QtDialogView(OpenDialog& dialog);
  ~QtDialogView() override;

  void ShowModal() override;
  void Close() override;
  void PopupViewMenu(int x, int y) override;

  // Draws the dialog's controls as they are now.
  void Refresh();
  // The window, for tests and for placing other windows.
  QWidget& Window();

 private:
  friend class DialogWindow;
  // Runs a handler of the dialog for an event, then draws the controls again. An error raised
  // by the handler ends the showing and is raised again by ShowModal.
  void Dispatch(const std::function<void(OpenDialog&)>& handler);

  OpenDialog& dialog_;
  std::unique_ptr<DialogWindow> window_;
  std::exception_ptr failure_;
  bool closed_ = false;
};

// Creates the window of each dialog.
using QtDialogViews = LiveViews<QtDialogView>;

}  // namespace penlark::qt

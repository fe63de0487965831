#pragma once

#include "dialog/DialogView.h"
#include "dialog/LiveViews.h"

#include <exception>
#include <functional>
#include <memory>
#include <string_view>
#include <windows.h>

// The dialog on Windows: a window of the common controls bound to an OpenDialog. The window draws
// the dialog's controls, writes the user's edits into them and calls the handler of each event;
// after every handler it draws the controls again. It decides nothing itself.
namespace penlark::win32 {

class DialogWindow;

class Win32DialogView : public DialogView {
 public:
  explicit Win32DialogView(OpenDialog& dialog);
  ~Win32DialogView() override;

  void ShowModal() override;
  void Close() override;
  void PopupViewMenu(int x, int y) override;

  // Draws the dialog's controls as they are now.
  void Refresh();
  // The top-level window, and the window of a control by its name, for tests and screenshots.
  HWND Window() const;
  HWND ControlWindow(std::string_view name) const;

 private:
  // Runs a handler of the dialog for an event, then draws the controls again. An error raised
  // by the handler ends the showing and is raised again by ShowModal.
  void Dispatch(const std::function<void(OpenDialog&)>& handler);

  OpenDialog& dialog_;
  std::unique_ptr<DialogWindow> window_;
  std::exception_ptr failure_;
  bool closed_ = false;
};

// Creates the window of each dialog.
using Win32DialogViews = LiveViews<Win32DialogView>;

}  // namespace penlark::win32

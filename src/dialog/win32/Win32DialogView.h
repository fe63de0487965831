#pragma once

#include "dialog/DialogView.h"

#include <exception>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>
#include <windows.h>

// The dialog on Windows: a window of the common controls bound to an OpenDialog. The window draws
// the dialog's controls, writes the user's edits into them and calls the handler of each event;
// after every handler it draws the controls again. It decides nothing itself.
namespace penlark::win32 {

class DialogWindow;

class Win32DialogView final : public DialogView {
 public:
  // `live` lists the views alive; the view is in it for its lifetime.
  Win32DialogView(OpenDialog& dialog, std::vector<Win32DialogView*>& live);
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
  std::vector<Win32DialogView*>& live_;
  std::unique_ptr<DialogWindow> window_;
  std::exception_ptr failure_;
  bool closed_ = false;
};

// Creates the window of each dialog, and keeps track of those alive so that they can all be
// drawn anew before a message box covers them.
class Win32DialogViews final : public DialogViewFactory {
 public:
  std::unique_ptr<DialogView> CreateView(OpenDialog& dialog) override;
  void RefreshAll();
  // The most recently created window still alive, or nullptr.
  Win32DialogView* Newest() const;

 private:
  std::vector<Win32DialogView*> live_;
};

}  // namespace penlark::win32

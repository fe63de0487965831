#pragma once

#include <memory>

// How a loaded dialog is put on the screen. The dialog decides everything; a view only draws its
// controls, writes the user's edits into them and calls the handler of each event.
namespace penlark {

class OpenDialog;

class DialogView {
 public:
  virtual ~DialogView() = default;

  // Shows the dialog modally; returns when the dialog has been hidden or closed. The dialog's
  // handlers run meanwhile.
  virtual void ShowModal() = 0;
  // The dialog has been unloaded: end a modal showing and take the window down.
  virtual void Close() = 0;
  // Shows the view menu `menuPopup` at a position of the form (twips) and returns when it has
  // closed, after the chosen item's Click handler has run.
  virtual void PopupViewMenu(int x, int y) = 0;
};

// Creates the view of each dialog as it is loaded.
class DialogViewFactory {
 public:
  virtual ~DialogViewFactory() = default;
  virtual std::unique_ptr<DialogView> CreateView(OpenDialog& dialog) = 0;
};

}  // namespace penlark

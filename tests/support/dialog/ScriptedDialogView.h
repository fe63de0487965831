#pragma once

#include "dialog/DialogView.h"
#include "dialog/OpenDialog.h"

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace penlark::testing {

// One thing the user does while the dialog is shown.
using UserAction = std::function<void(OpenDialog&)>;

// Views that play a script: while a dialog is shown modally, the next actions run against it
// until the dialog is unloaded; a showing that runs out of actions with the dialog still up is
// an error of the test. The view menu takes its choice from a queue of its own.
class ScriptedDialogViews final : public DialogViewFactory {
 public:
  ScriptedDialogViews& Then(UserAction action);
  // The next drop-down of the view menu chooses this item (its Click handler), or closes
  // without a choice when `handler` is null.
  ScriptedDialogViews& ChooseFromViewMenu(void (OpenDialog::*handler)());

  std::unique_ptr<DialogView> CreateView(OpenDialog& dialog) override;

  int ViewsCreated() const { return viewsCreated_; }
  int Showings() const { return showings_; }
  // Where the view menu was dropped down, in form twips.
  const std::vector<std::pair<int, int>>& MenuPositions() const { return menuPositions_; }
  bool ScriptDone() const { return actions_.empty() && menuChoices_.empty(); }

 private:
  class View;

  std::deque<UserAction> actions_;
  std::deque<void (OpenDialog::*)()> menuChoices_;
  std::vector<std::pair<int, int>> menuPositions_;
  int viewsCreated_ = 0;
  int showings_ = 0;
};

// The texts of the list's items, in order.
std::vector<std::string> ItemTexts(const OpenDialog& dialog);

// --- actions ---

UserAction Type(TextBox OpenDialog::*field, std::string text);
UserAction TypeServer(std::string text);
UserAction Login(std::string server, std::string user, std::string password, bool savePassword);
UserAction Call(void (OpenDialog::*handler)());
// Clicks the list item of that text (ItemClick), then double-clicks it.
UserAction DoubleClickItem(std::string text);
// Chooses an item of the server combo's list (by index) and then leaves the combo.
UserAction ChooseServer(int index);
// Chooses an item of the folder trail (0-based).
UserAction ChooseTrailItem(int index);
// Presses and releases the mouse over an image button, at a point of its own (twips).
using MouseHandler = void (OpenDialog::*)(int, int, double, double);
UserAction ClickImage(MouseHandler down, MouseHandler up, double x = 100, double y = 100);

}  // namespace penlark::testing

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
// an error of the test. The view menu takes its choice from a queue of its own: the Click
// handler of an item, or null to close it without a choice.
class ScriptedDialogViews final : public DialogViewFactory {
 public:
  ScriptedDialogViews& Then(UserAction action);
  ScriptedDialogViews& ChooseFromViewMenu(void (OpenDialog::*handler)());
  std::unique_ptr<DialogView> CreateView(OpenDialog& dialog) override;

  int Showings() const { return showings_; }
  // Where the view menu was dropped down, in form twips.
  const std::vector<std::pair<int, int>>& MenuPositions() const { return menuPositions_; }
  bool ScriptDone() const { return actions_.empty() && menuChoices_.empty(); }

 private:
  class View;

  std::deque<UserAction> actions_;
  std::deque<void (OpenDialog::*)()> menuChoices_;
  std::vector<std::pair<int, int>> menuPositions_;
  int showings_ = 0;
};

// The texts of the list's items, in order.
std::vector<std::string> ItemTexts(const OpenDialog& dialog);

UserAction Type(TextBox OpenDialog::*field, std::string text);
UserAction Login(std::string server, std::string user, std::string password, bool savePassword);
UserAction Call(void (OpenDialog::*handler)());
// Clicks the list item of that text (ItemClick), then double-clicks it.
UserAction DoubleClickItem(std::string text);

// The four folder buttons: the control, its mouse handlers, its pictures, its PressedButton code.
using MouseHandler = void (OpenDialog::*)(int, int, double, double);
struct FolderButton {
  ImageButton OpenDialog::*control;
  MouseHandler down, move, up;
  ButtonPictures pictures;
  std::int16_t code;

  // Presses and releases the mouse over the button, at a point of its own (twips).
  UserAction Click(double x = 100, double y = 100) const;
};
inline constexpr FolderButton kFolderButtons[] = {
    {&OpenDialog::ReloadImage, &OpenDialog::ReloadImage_MouseDown,
     &OpenDialog::ReloadImage_MouseMove, &OpenDialog::ReloadImage_MouseUp, kReloadPictures, 1},
    {&OpenDialog::UpOneLevelImage, &OpenDialog::UpOneLevelImage_MouseDown,
     &OpenDialog::UpOneLevelImage_MouseMove, &OpenDialog::UpOneLevelImage_MouseUp,
     kUpOneLevelPictures, 2},
    {&OpenDialog::DeleteImage, &OpenDialog::DeleteImage_MouseDown,
     &OpenDialog::DeleteImage_MouseMove, &OpenDialog::DeleteImage_MouseUp, kDeletePictures, 3},
    {&OpenDialog::CreateFolderImage, &OpenDialog::CreateFolderImage_MouseDown,
     &OpenDialog::CreateFolderImage_MouseMove, &OpenDialog::CreateFolderImage_MouseUp,
     kCreateFolderPictures, 4},
};
inline constexpr const FolderButton& kReloadButton = kFolderButtons[0];
inline constexpr const FolderButton& kUpOneLevelButton = kFolderButtons[1];
inline constexpr const FolderButton& kDeleteButton = kFolderButtons[2];
inline constexpr const FolderButton& kCreateFolderButton = kFolderButtons[3];

}  // namespace penlark::testing

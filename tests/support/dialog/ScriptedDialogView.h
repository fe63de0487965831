#pragma once

#include "dialog/DialogView.h"
#include "dialog/OpenDialog.h"

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace penlark::testing {

// One thing the user does while the dialog is shown.
using UserAction = std::function<void(OpenDialog&)>;

// Views that play a script: a modal showing runs the next actions until the dialog is unloaded.
// The view menu records where it drops down and runs the next of menuChoices, if any.
class ScriptedDialogViews final : public DialogViewFactory {
 public:
  std::unique_ptr<DialogView> CreateView(OpenDialog& dialog) override;

  std::deque<UserAction> actions;
  std::deque<void (OpenDialog::*)()> menuChoices;
  std::vector<std::pair<int, int>> menuPositions;  // form twips
  int showings = 0;

 private:
  class View;
};

std::vector<std::string> ItemTexts(const OpenDialog& dialog);

UserAction Login(std::string server, std::string user, std::string password, bool savePassword);
// Clicks the list item of that text (ItemClick), then double-clicks it.
UserAction DoubleClickItem(std::string text);

using MouseHandler = void (OpenDialog::*)(int, int, double, double);
struct FolderButton {
  ImageButton OpenDialog::*control;
  MouseHandler down, move, up;
  ButtonPictures pictures;
  std::int16_t code;

  void Click(OpenDialog& dialog, double x = 100, double y = 100) const;
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

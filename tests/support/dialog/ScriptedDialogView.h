#pragma once

#include "dialog/DialogView.h"
#include "dialog/OpenDialog.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace penlark::testing {

// One thing the user does while the dialog is shown.
using UserAction = std::function<void(OpenDialog&)>;

// A modal showing runs the next actions until unloaded; the menu runs the next menuChoice.
class ScriptedDialogViews final : public DialogViewFactory {
 public:
  std::unique_ptr<DialogView> CreateView(OpenDialog& dialog) override {
    return std::make_unique<View>(*this, dialog);
  }

  std::deque<UserAction> actions;
  std::deque<void (OpenDialog::*)()> menuChoices;
  std::vector<std::pair<int, int>> menuPositions;  // form twips
  int showings = 0;

 private:
  class View final : public DialogView {
   public:
    View(ScriptedDialogViews& script, OpenDialog& dialog) : script_(script), dialog_(dialog) {}

    void ShowModal() override {
      ++script_.showings;
      for (shown_ = true; shown_;) {
        if (script_.actions.empty()) {
          throw std::logic_error("the script ended while the dialog is still shown");
        }
        const UserAction action = std::move(script_.actions.front());
        script_.actions.pop_front();
        action(dialog_);
      }
    }

    void Close() override { shown_ = false; }

    void PopupViewMenu(int x, int y) override {
      script_.menuPositions.emplace_back(x, y);
      if (script_.menuChoices.empty()) {
        return;
      }
      const auto choice = script_.menuChoices.front();
      script_.menuChoices.pop_front();
      (dialog_.*choice)();
    }

   private:
    ScriptedDialogViews& script_;
    OpenDialog& dialog_;
    bool shown_ = false;
  };
};

inline std::vector<std::string> ItemTexts(const OpenDialog& dialog) {
  std::vector<std::string> texts;
  for (const ListItem& item : dialog.ListView.Items) {
    texts.push_back(item.Text);
  }
  return texts;
}

inline UserAction Login(std::string server, std::string user, std::string password,
                        bool savePassword) {
  return [=](OpenDialog& dialog) {
    dialog.UrlDomainCombo.Text = server;
    dialog.UrlDomainCombo.ListIndex = -1;
    dialog.UrlDomainCombo_LostFocus();
    dialog.UsernameText.Text = user;
    dialog.PasswordText.Text = password;
    dialog.SavePwdCheck.Value = savePassword;
    dialog.LogInButton_Click();
  };
}
// Clicks the list item of that text (ItemClick), then double-clicks it.
inline UserAction DoubleClickItem(std::string text) {
  return [text = std::move(text)](OpenDialog& dialog) {
    const std::vector<std::string> texts = ItemTexts(dialog);
    const auto item = std::find(texts.begin(), texts.end(), text);
    if (item == texts.end()) {
      throw std::logic_error("no list item " + text);
    }
    dialog.ListView_ItemClick(static_cast<int>(item - texts.begin()));
    dialog.ListView_DblClick();
  };
}

using MouseHandler = void (OpenDialog::*)(int, int, double, double);
struct FolderButton {
  ImageButton OpenDialog::*control;
  MouseHandler down, move, up;
  ButtonPictures pictures;
  std::int16_t code;

  void Click(OpenDialog& dialog, double x = 100, double y = 100) const {
    (dialog.*down)(kLeftButton, 0, x, y);
    (dialog.*up)(kLeftButton, 0, x, y);
  }
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

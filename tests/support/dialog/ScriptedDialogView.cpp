#include "support/dialog/ScriptedDialogView.h"

#include <algorithm>
#include <stdexcept>

namespace penlark::testing {
class ScriptedDialogViews::View final : public DialogView {
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

std::unique_ptr<DialogView> ScriptedDialogViews::CreateView(OpenDialog& dialog) {
  return std::make_unique<View>(*this, dialog);
}

std::vector<std::string> ItemTexts(const OpenDialog& dialog) {
  std::vector<std::string> texts;
  for (const ListItem& item : dialog.ListView.Items) {
    texts.push_back(item.Text);
  }
  return texts;
}

UserAction Login(std::string server, std::string user, std::string password, bool savePassword) {
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

UserAction DoubleClickItem(std::string text) {
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

void FolderButton::Click(OpenDialog& dialog, double x, double y) const {
  (dialog.*down)(kLeftButton, 0, x, y);
  (dialog.*up)(kLeftButton, 0, x, y);
}

}  // namespace penlark::testing

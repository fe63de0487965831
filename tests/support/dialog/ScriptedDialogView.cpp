#include "support/dialog/ScriptedDialogView.h"

#include <algorithm>
#include <stdexcept>

namespace penlark::testing {

class ScriptedDialogViews::View final : public DialogView {
 public:
  View(ScriptedDialogViews& script, OpenDialog& dialog) : script_(script), dialog_(dialog) {}

  void ShowModal() override {
    ++script_.showings_;
    shown_ = true;
    while (shown_) {
      if (script_.actions_.empty()) {
        throw std::logic_error("the script ended while the dialog is still shown");
      }
      UserAction action = std::move(script_.actions_.front());
      script_.actions_.pop_front();
      action(dialog_);
    }
  }

  void Close() override { shown_ = false; }

  void PopupViewMenu(int x, int y) override {
    script_.menuPositions_.emplace_back(x, y);
    if (script_.menuChoices_.empty()) {
      throw std::logic_error("the view menu dropped down without a scripted choice");
    }
    const auto handler = script_.menuChoices_.front();
    script_.menuChoices_.pop_front();
    if (handler != nullptr) {
      (dialog_.*handler)();
    }
  }

 private:
  ScriptedDialogViews& script_;
  OpenDialog& dialog_;
  bool shown_ = false;
};

ScriptedDialogViews& ScriptedDialogViews::Then(UserAction action) {
  actions_.push_back(std::move(action));
  return *this;
}

ScriptedDialogViews& ScriptedDialogViews::ChooseFromViewMenu(void (OpenDialog::*handler)()) {
  menuChoices_.push_back(handler);
  return *this;
}

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

UserAction Type(TextBox OpenDialog::*field, std::string text) {
  return [field, text = std::move(text)](OpenDialog& dialog) { (dialog.*field).Text = text; };
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

UserAction Call(void (OpenDialog::*handler)()) {
  return [handler](OpenDialog& dialog) { (dialog.*handler)(); };
}

UserAction DoubleClickItem(std::string text) {
  return [text = std::move(text)](OpenDialog& dialog) {
    const auto& items = dialog.ListView.Items;
    const auto item = std::find_if(items.begin(), items.end(), [&](const ListItem& candidate) {
      return candidate.Text == text;
    });
    if (item == items.end()) {
      throw std::logic_error("no list item " + text);
    }
    dialog.ListView_ItemClick(static_cast<int>(item - items.begin()));
    dialog.ListView_DblClick();
  };
}

UserAction FolderButton::Click(double x, double y) const {
  return [button = *this, x, y](OpenDialog& dialog) {
    (dialog.*button.down)(kLeftButton, 0, x, y);
    (dialog.*button.up)(kLeftButton, 0, x, y);
  };
}

}  // namespace penlark::testing

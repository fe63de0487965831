// The connection tab: login, the server combo with the connection history, and the switching
// between the two tabs.

#include "dialog/DialogContext.h"
#include "dialog/OpenDialog.h"
#include "platform/Files.h"
#include "platform/Settings.h"
#include "platform/Utils.h"

namespace penlark {

namespace {

constexpr int kFileTab = 1;
constexpr int kConnectionTab = 2;

}  // namespace

std::filesystem::path OpenDialog::HistoryFile() const {
  const DialogMachine& machine = context_.Services().machine;
  return Utf8Path(HistoryFilePath(machine.installPath, machine.user));
}

std::string OpenDialog::HistoryHeaderLine() const {
  const DialogMachine& machine = context_.Services().machine;
  return HistoryHeader(machine.user, machine.computer);
}

void OpenDialog::AutoLogin() {
  ConnectionHistory& history = context_.History();
  if (!history.LoadHistory(HistoryFile(), HistoryHeaderLine(), context_.Services().prompts)) {
    return;
  }
  ShowHistoryInCombo();
  ConnectionText.Text = history.HistoryServer(0);
  UsernameText.Text = history.HistoryUser(0);
  PasswordText.Text = history.HistoryPassword(0);
  SavePwdCheck.Value = !PasswordText.Text.empty();
  const std::string* remembered =
      context_.RememberedPassword(ConnectionText.Text, UsernameText.Text);
  if (PasswordText.Text.empty() && remembered != nullptr) {
    PasswordText.Text = *remembered;
  }
  const bool loggedIn = RedrawFiles(TrailFolder("/"));
  RedrawTabStrip(loggedIn);
  if (!loggedIn) {
    SetFocus(PasswordText);
  }
}

void OpenDialog::ShowHistoryInCombo() {
  UrlDomainCombo.Items = context_.History().ComboItems();
  UrlDomainCombo.ListIndex = -1;
  UrlDomainCombo.Text = context_.History().HistoryServer(0);
}

void OpenDialog::LogInButton_Click() {
  UsernameText.Text = TrimControlChars(UsernameText.Text);
  UrlDomainCombo.Text = TrimControlChars(UrlDomainCombo.Text);
  if (UsernameText.Text.empty() || UrlDomainCombo.Text.empty()) {
    context_.Services().prompts.ShowMessage({.text = "Values are empty!!!"});
    return;
  }
  ConnectionText.Text = UrlDomainCombo.Text;
  if (!RedrawFiles("/")) {
    return;
  }
  RedrawTabStrip(true);
  const std::string server = UrlDomainCombo.Text;
  context_.RememberPassword(server, UsernameText.Text, PasswordText.Text);
  const std::string password = SavePwdCheck.Value ? PasswordText.Text : std::string();
  switch (context_.History().UpdateHistory(server, UsernameText.Text, password)) {
    case ConnectionHistory::ComboChange::NotRecorded:
      context_.Services().prompts.ShowMessage({.text = std::string(kUnstorableLoginMessage)});
      break;
    case ConnectionHistory::ComboChange::InsertServerAtFront:
      UrlDomainCombo.Items.insert(UrlDomainCombo.Items.begin(), server);
      break;
    case ConnectionHistory::ComboChange::Rebuild:
      ShowHistoryInCombo();
      break;
    case ConnectionHistory::ComboChange::None:
      break;
  }
}

void OpenDialog::RedrawTabStrip(bool cond) {
  if (!cond) {
    return;
  }
  SelectTab(kFileTab);
  ConnectionFrame.Visible = false;
  OpenFileFrame.Visible = true;
  TabStrip.Enabled = true;
}

void OpenDialog::SelectTab(int tab) {
  if (TabStrip.SelectedTab == tab) {
    return;
  }
  TabStrip.SelectedTab = tab;
  TabStrip_Click();
}

void OpenDialog::TabStrip_Click() {
  if (TabStrip.SelectedTab != kConnectionTab) {
    return;
  }
  ImageCombo.Clear();
  ImageCombo.Items.push_back("/");
  ImageCombo.Select(0);
  OpenFileFrame.Visible = false;
  ConnectionFrame.Visible = true;
  TabStrip.Enabled = false;
}

void OpenDialog::UrlDomainCombo_Click() {
  if (UrlDomainCombo.ListIndex < 0) {
    return;
  }
  const auto entry = static_cast<std::size_t>(UrlDomainCombo.ListIndex);
  const ConnectionHistory& history = context_.History();
  UsernameText.Text = history.HistoryUser(entry);
  PasswordText.Text = history.HistoryPassword(entry);
  UrlDomainCombo.Text = history.HistoryServer(entry);
  ConnectionText.Text = history.HistoryServer(entry);
  SavePwdCheck.Value = !PasswordText.Text.empty();
}

void OpenDialog::UrlDomainCombo_LostFocus() {
  if (ConnectionText.Text.empty()) {
    return;
  }
  const auto separator = UrlDomainCombo.Text.find(kHistorySeparator);
  if (separator != std::string::npos) {
    UrlDomainCombo.Text.resize(separator);
  }
}

}  // namespace penlark

#include "dialog/OpenDialog.h"

#include "dialog/DialogContext.h"
#include "dialog/DialogView.h"
#include "platform/Settings.h"

namespace penlark {
OpenDialog::OpenDialog(DialogContext& context) : context_(context) {
  DesignForm();
}

void OpenDialog::Form_Load() {
  menuData.Visible = false;
  OpenFileFrame.BackColor = kFormColor;
  TabStrip.BackColor = kFormColor;
  LookInLabel.BackColor = kFormColor;
  FilenameLabel.BackColor = kFormColor;
  OpenButton.BackColor = kFormColor;
  Cancel.BackColor = kFormColor;
  WorkDir = WorkDirPath(context_.Services().machine.installPath);
  ImageCombo.Clear();
  ImageCombo.Items.push_back("/");
  ImageCombo.Select(0);
  UpOneLevelImage.Picture = kUpOneLevelPictures.Disabled;
  UpOneLevelImage.Enabled = false;
  SelectTab(2);
  AutoLogin();
}

void OpenDialog::Form_Unload() {
  context_.History().SaveHistory(HistoryFile(), HistoryHeaderLine());
}

void OpenDialog::Form_QueryUnload() {
  context_.UnloadDialog();
}

void OpenDialog::Cancel_Click() {
  context_.Server().CurrentFile.clear();
  context_.UnloadDialog();
}

void OpenDialog::Help() {
  context_.Services().shell.OpenWithDefaultHandler(
      HelpPagePath(context_.Services().machine.installPath));
}

void OpenDialog::SetFocus(const Control& control) {
  FocusControl = &control;
  ++FocusCount;
}

bool OpenDialog::SetMouseCursor(std::int32_t status) {
  Pointer& pointer = context_.Services().pointer;
  switch (status) {
    case 0:
      pointer.SetDefault();
      return true;
    case 1:
      pointer.SetBusy();
      return true;
    case 2:
      pointer.Hide();
      return true;
    case 3:
      pointer.Show();
      return true;
    default:
      return false;
  }
}

}  // namespace penlark

// The form as designed: every control's caption, text, position, size, picture and tool tip
// before the load sequence runs.

#include "dialog/OpenDialog.h"

namespace penlark {
namespace {

ImageButton MakeImageButton(Rect position, std::string toolTip, int picture) {
  ImageButton button;
  button.Position = position;
  button.ToolTipText = std::move(toolTip);
  button.Picture = picture;
  return button;
}

// A control at `position` whose caption or text (`field`) reads `value`.
template <typename ControlType>
ControlType Designed(Rect position, std::string ControlType::*field, std::string value) {
  ControlType control;
  control.Position = position;
  control.*field = std::move(value);
  return control;
}

MenuItem MakeMenu(std::string caption, bool checked = false) {
  return MenuItem{.Caption = std::move(caption), .Checked = checked};
}

}  // namespace

void OpenDialog::DesignForm() {
  Caption = "Tarnwell Open";
  Position = {0, 0, 7680, 5400};
  BackColor = kFormColor;

  TabStrip.Position = {90, 90, 7500, 4620};
  TabStrip.Tabs = {{"File", "View list of files on the server."},
                   {"Connection", "Connection information to Server."}};
  TabStrip.SelectedTab = 1;

  // Both frames fill the tab strip's page; positions inside them are relative to the frame.
  ConnectionFrame.Position = {150, 450, 7380, 4200};
  ConnectionFrame.Visible = false;
  UrlDomainLabel = Designed({360, 480, 1500, 255}, &Label::Caption, "Domain Name : ");
  UrlDomainCombo.Position = {1920, 420, 4935, 360};
  UrlDomainCombo.Text = "Tarnwell server name";
  UsernameLabel = Designed({360, 1020, 1500, 255}, &Label::Caption, "Username:");
  UsernameText = Designed({1920, 960, 3135, 345}, &TextBox::Text, "");
  PasswordLabel = Designed({360, 1560, 1500, 255}, &Label::Caption, "Password:");
  PasswordText = Designed({1920, 1500, 3135, 345}, &TextBox::Text, "");
  PasswordText.PasswordChar = '*';
  SavePwdCheck.Position = {1920, 2040, 2400, 300};
  SavePwdCheck.Caption = "Save Password";
  LogInButton = Designed({1920, 2580, 1335, 375}, &CommandButton::Caption, "Login");
  ConnectionText = Designed({360, 3360, 6495, 345}, &TextBox::Text, "");
  ConnectionText.Visible = false;
  ConnectionText.Locked = true;

  OpenFileFrame.Position = ConnectionFrame.Position;
  LookInLabel = Designed({120, 270, 900, 255}, &Label::Caption, "Look &In:");
  ImageCombo.Position = {1050, 210, 3135, 360};
  ReloadImage = MakeImageButton({4305, 210, 360, 360}, "Refresh", kReloadPictures.Normal);
  reloadImage2 = MakeImageButton({4305, 210, 360, 360}, "Refresh", kReloadPictures.Normal);
  reloadImage2.Visible = false;
  UpOneLevelImage =
      MakeImageButton({4710, 210, 360, 360}, "Up One Level", kUpOneLevelPictures.Normal);
  LineImage = MakeImageButton({5235, 255, 15, 270}, "", 0);
  DeleteImage = MakeImageButton({5400, 210, 360, 360}, "Delete", kDeletePictures.Normal);
  CreateFolderImage =
      MakeImageButton({5880, 210, 360, 360}, "Create New Folder", kCreateFolderPictures.Normal);
  PropsImage = MakeImageButton({6600, 210, 525, 360}, "Views", kViewsPictures.Normal);
  ListView.Position = {120, 690, 7140, 2910};
  ListView.Columns = {{"Name", 1440}, {"Size", 1540}, {"Last Modified", 1440}};
  FilenameLabel = Designed({120, 3780, 900, 255}, &Label::Caption, "File &name:");
  FilenameText = Designed({1050, 3720, 6210, 345}, &TextBox::Text, "Text1");

  // The action buttons sit on the form below the tab strip, for both tabs.
  OpenButton = Designed({4800, 4830, 1335, 375}, &CommandButton::Caption, kOpenMode);
  Cancel = Designed({6255, 4830, 1335, 375}, &CommandButton::Caption, "Cancel");

  menuData = MakeMenu("&Data");
  menuOpen = MakeMenu("&Open");
  menuExit = MakeMenu("E&xit");
  menuPopup = MakeMenu("&Options");
  menuPopup.Visible = false;
  menuIcons = MakeMenu("&Icons", true);
  menuSmallIcons = MakeMenu("&Small Icons");
  menuList = MakeMenu("&List");
  menuReport = MakeMenu("&Report");
}

}  // namespace penlark

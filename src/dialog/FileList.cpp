// The file tab's list: listing a server folder, the folder trail and the view menu.

#include "dialog/DialogContext.h"
#include "dialog/DialogView.h"
#include "dialog/OpenDialog.h"

namespace penlark {

std::string OpenDialog::TrailFolder(const std::string& whenNone) const {
  return ImageCombo.HasSelection() ? ImageCombo.SelectedText() : whenNone;
}

bool OpenDialog::RedrawFiles(const std::string& dir) {
  SetMouseCursor(1);
  ServerClient& server = context_.Server();
  const std::string reply = server.RequestFiles(dir, UsernameText.Text, PasswordText.Text);
  ListView.Items.clear();
  ListView.SelectedIndex = -1;
  FilenameText.Text.clear();
  const auto& names = server.FileNames();
  // A reply that did not read as this folder's listing fails like an empty one.
  if (reply.empty() || server.ListedFolder() != dir || names.empty()) {
    SetMouseCursor(0);
    return false;
  }
  const auto& types = server.FileTypes();
  ListView.Items.reserve(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    const int icon = types[i] == kFolderType ? kFolderIcon : kDocumentIcon;
    ListView.Items.push_back({.Text = names[i], .Icon = icon, .SmallIcon = icon});
  }
  const bool several = names.size() > 1;
  ListView.SelectedIndex = several ? 0 : -1;
  DeleteImage.Picture = several ? kDeletePictures.Normal : kDeletePictures.Disabled;
  DeleteImage.Enabled = several;
  FilenameText.Text.clear();
  SetMouseCursor(0);
  return true;
}

void OpenDialog::ListView_ItemClick(int index) {
  if (index < 0 || index >= static_cast<int>(ListView.Items.size())) {
    return;
  }
  ListView.SelectedIndex = index;
  FilenameText.Text = ListView.Items[static_cast<std::size_t>(index)].Text;
}

void OpenDialog::ListView_DblClick() {
  OpenButton_Click();
}

void OpenDialog::ListView_MouseMove(int, int, double, double) {
  NormalizeImages();
}

void OpenDialog::OpenFileFrame_MouseMove(int, int, double, double) {
  NormalizeImages();
}

void OpenDialog::ImageCombo_Click() {
  const int count = static_cast<int>(ImageCombo.Items.size());
  if (ImageCombo.HasSelection() && ImageCombo.SelectedIndex != count - 1) {
    ImageCombo.Items.resize(static_cast<std::size_t>(ImageCombo.SelectedIndex) + 1);
    RedrawFiles(ImageCombo.SelectedText());
  }
  // The list holds the listing's entries, or nothing when the listing did not read.
  if (ListView.Items.size() > 1) {
    ListView.SelectedIndex = 0;
  }
}

void OpenDialog::SetViewMode(MenuItem& checked, ListViewMode mode) {
  for (MenuItem* item : {&menuIcons, &menuSmallIcons, &menuList, &menuReport}) {
    item->Checked = item == &checked;
  }
  ListView.View = mode;
  PropsImage.Picture = kViewsPictures.Normal;
}

void OpenDialog::menuIcons_Click() {
  SetViewMode(menuIcons, ListViewMode::Icons);
}

void OpenDialog::menuSmallIcons_Click() {
  SetViewMode(menuSmallIcons, ListViewMode::SmallIcons);
}

void OpenDialog::menuList_Click() {
  SetViewMode(menuList, ListViewMode::List);
}

void OpenDialog::menuReport_Click() {
  SetViewMode(menuReport, ListViewMode::Report);
}

void OpenDialog::PropsImage_MouseDown(int button, int, double, double) {
  PropsImage.Picture = kViewsPictures.Pressed;
  if (button != kLeftButton) {
    return;
  }
  menuPopup.Visible = true;
  const Rect& views = PropsImage.Position;
  context_.ViewOf(*this).PopupViewMenu(views.Left,
                                       OpenFileFrame.Position.Top + views.Top + views.Height);
  menuPopup.Visible = false;
}

void OpenDialog::PropsImage_MouseMove(int, int, double, double) {
  NormalizeImages();
  PropsImage.Picture = kViewsPictures.Hover;
}

}  // namespace penlark

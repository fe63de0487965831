// What the four folder buttons do when the mouse button is released over them: Refresh, Up One
// Level, Delete and Create New Folder.

#include "dialog/DialogContext.h"
#include "dialog/LocalCopy.h"
#include "dialog/OpenDialog.h"
#include "platform/Utils.h"

namespace penlark {

void OpenDialog::ReloadImage_MouseUp(int, int, double x, double y) {
  if (ReloadImage.Position.Contains(x, y)) {
    RedrawFiles(TrailFolder(""));
  }
  ReloadImage.Picture = kReloadPictures.Normal;
  PressedButton = 0;
}

void OpenDialog::UpOneLevelImage_MouseUp(int, int, double x, double y) {
  const bool click = UpOneLevelImage.Position.Contains(x, y);
  if (click && ImageCombo.HasSelection() && ImageCombo.Items.size() > 1) {
    ImageCombo.Items.pop_back();
    ImageCombo.Select(static_cast<int>(ImageCombo.Items.size()) - 1);
    RedrawFiles(ImageCombo.SelectedText());
  }
  SetUpOneLevel(ImageCombo.HasSelection() && ImageCombo.SelectedText() != "/");
  PressedButton = 0;
}

void OpenDialog::DeleteImage_MouseUp(int, int, double x, double y) {
  const bool click = DeleteImage.Position.Contains(x, y);
  if (click && ListView.HasSelection() && ImageCombo.HasSelection()) {
    const std::string name = ListView.Items[static_cast<std::size_t>(ListView.SelectedIndex)].Text;
    const MessageAnswer answer = context_.Services().prompts.ShowMessage(
        {.text = "Delete " + name + " from Tarnwell server?", .buttons = MessageButtons::YesNo});
    if (answer == MessageAnswer::Yes) {
      ServerClient& server = context_.Server();
      const std::string folder = ImageCombo.SelectedText();
      const std::int16_t type = SelectedEntryType(folder);
      if (server.RequestDelete(folder, name, type, UsernameText.Text, PasswordText.Text).empty()) {
        PressedButton = 0;
        return;
      }
      RedrawFiles(TrailFolder("/"));
    }
  }
  DeleteImage.Picture = kDeletePictures.Normal;
  PressedButton = 0;
}

std::int16_t OpenDialog::SelectedEntryType(const std::string& folder) const {
  const ServerClient& server = context_.Server();
  const auto index = static_cast<std::size_t>(ListView.SelectedIndex);
  const bool listed = server.ListedFolder() == folder && index < server.FileTypes().size();
  return listed ? server.FileTypes()[index] : std::int16_t{0};
}

std::string OpenDialog::AskNewFolderName() {
  Prompts& prompts = context_.Services().prompts;
  while (true) {
    const std::string typed =
        prompts.InputBox({.prompt = "Folder Name: ", .title = "Create Folder", .defaultText = ""});
    std::string name = CollapseRepeats(typed, " ");
    if (name.empty()) {
      return name;
    }
    if (!IsPlainName(name)) {
      RefuseName(name, "a folder");
    } else if (context_.Server().FileExists(name)) {
      prompts.ShowMessage({.text = "Folders already exists!", .icon = MessageIcon::Exclamation});
    } else {
      return name;
    }
  }
}

void OpenDialog::CreateFolderImage_MouseUp(int, int, double x, double y) {
  const bool click = CreateFolderImage.Position.Contains(x, y);
  if (click && ImageCombo.HasSelection()) {
    const std::string name = AskNewFolderName();
    if (!name.empty()) {
      const std::string folder = ImageCombo.SelectedText();
      const std::string reply = context_.Server().RequestCreateFolder(
          folder, name, kFolderType, UsernameText.Text, PasswordText.Text);
      if (reply.empty()) {
        PressedButton = 0;
        return;
      }
      RedrawFiles(TrailFolder("/"));
    }
  }
  CreateFolderImage.Picture = kCreateFolderPictures.Normal;
  PressedButton = 0;
}

}  // namespace penlark

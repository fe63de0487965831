// The action button's common steps, and the open flow: fetch the chosen document, write it as
// RTF into the work directory and open it in the word processor.

#include "conversion/Transform.h"
#include "dialog/BusyCursor.h"
#include "dialog/DialogContext.h"
#include "dialog/LocalCopy.h"
#include "dialog/OpenDialog.h"
#include "platform/Files.h"
#include "platform/Utils.h"

namespace penlark {

void OpenDialog::RefuseName(const std::string& name, const char* what) {
  context_.Services().prompts.ShowMessage(
      {.text = "The name " + name + " cannot be used for " + what + ".",
       .icon = MessageIcon::Exclamation,
       .title = kPenlarkFilesTitle});
}

void OpenDialog::OpenButton_Click() {
  Prompts& prompts = context_.Services().prompts;
  const std::string name = CollapseRepeats(FilenameText.Text, " ");
  if (name.empty()) {
    prompts.ShowMessage({.text = "Filename is EMPTY,\r\nplease retry.",
                         .icon = MessageIcon::Exclamation,
                         .title = kPenlarkFilesTitle});
    return;
  }
  const std::string dir = TrailFolder("/");
  // Only the listing of this very folder tells what it holds.
  const ServerClient& server = context_.Server();
  const bool listed = server.ListedFolder() == dir;
  const std::int16_t kind = listed ? server.GetFileType(name) : std::int16_t{0};
  const bool exists = listed && server.FileExists(name);
  if (kind != kFolderType) {
    if (!IsPlainName(name)) {
      RefuseName(name, "a document");
      return;
    }
    if (const auto step = UnplainFolderStep(dir)) {
      RefuseName(*step, "a folder");
      return;
    }
  }
  if (OpenButton.Caption == kSaveMode) {
    // A folder whose listing did not read may hold the name: ask rather than overwrite.
    if ((exists || !listed) && kind != kFolderType &&
        prompts.ShowMessage({.text = "Overwrite " + name + " on Tarnwell server?",
                             .buttons = MessageButtons::YesNo}) == MessageAnswer::No) {
      return;
    }
  } else if (OpenButton.Caption == kOpenMode && !exists) {
    prompts.ShowMessage({.text = "File " + name + " does not exist in the current FOLDER.",
                         .icon = MessageIcon::Exclamation,
                         .title = kPenlarkFilesTitle});
    return;
  }
  if (kind == kFolderType) {
    EnterFolder(dir, name);
    return;
  }
  context_.Server().CurrentFile = name;
  context_.Server().CurrentDir = dir;
  if (OpenButton.Caption == kSaveMode) {
    SaveToXMLFile();
  } else if (OpenButton.Caption == kOpenMode) {
    OpenXMLFile();
  }
}

void OpenDialog::EnterFolder(const std::string& dir, const std::string& name) {
  const std::string folder = dir == "/" ? dir + name : dir + "/" + name;
  SetUpOneLevel(true);
  if (!ImageCombo.HasSelection()) {
    ImageCombo.Items.push_back("/");
  }
  RedrawFiles(folder);
  ImageCombo.Items.push_back(folder);
  if (ImageCombo.HasSelection()) {
    ImageCombo.Select(static_cast<int>(ImageCombo.Items.size()) - 1);
  }
}

void OpenDialog::OpenXMLFile() {
  BusyCursor busy(*this);
  ServerClient& server = context_.Server();
  Prompts& prompts = context_.Services().prompts;
  const std::string local = LocalCopyFolder(WorkDir, server.CurrentDir) + server.CurrentFile;
  if (IsDocOpen(local)) {
    prompts.ShowMessage({.text = "The Document " + server.CurrentFile + " is already open.",
                         .icon = MessageIcon::Exclamation});
    return;
  }
  std::string reply = server.RequestContent(server.CurrentDir, server.CurrentFile, kDocumentType,
                                            UsernameText.Text, PasswordText.Text);
  if (reply.empty()) {
    busy.Restore();
    context_.UnloadDialog();
    return;
  }
  CreateLocalCopyFolder(WorkDir, server.CurrentDir);
  // A reply whose root is not a document writes no file: it must not open an older copy.
  if (ConvertXmlToRtfFile(reply, Utf8Path(local)) != XmlDocumentStatus::Converted) {
    prompts.ShowMessage({.text = "ERROR: Unable to load the XML document"});
    busy.Restore();
    context_.UnloadDialog();
    return;
  }
  reply.clear();
  busy.Restore();
  OpenInWord(local);
  context_.UnloadDialog();
}

void OpenDialog::OpenInWord(const std::string& local) {
  Word& word = context_.Services().word;
  std::shared_ptr<WordDocument> document;
  try {
    document = word.DocumentsOpen(local);
  } catch (const WordError&) {
    word.NewApplication();
    try {
      document = word.DocumentsOpen(local);
    } catch (const WordError& error) {
      context_.Services().prompts.ShowMessage({.text = "The Document " +
                                                       context_.Server().CurrentFile +
                                                       " could not be opened: " + error.what(),
                                               .icon = MessageIcon::Exclamation});
      return;
    }
  }
  document->ShowApplication();
}

bool OpenDialog::IsDocOpen(const std::string& localCopy) {
  Word& word = context_.Services().word;
  try {
    const int count = word.DocumentsCount();
    for (int i = 1; i <= count; ++i) {
      const std::string folder = word.DocumentsItem(i)->Path() + kPathSeparator;
      const std::string name = word.DocumentsItem(i)->Name();
      if (folder + name == localCopy) {
        word.DocumentsItem(i)->Activate();
        return true;
      }
    }
  } catch (const WordError&) {
  }
  return false;
}

}  // namespace penlark

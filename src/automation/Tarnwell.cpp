#include "automation/Tarnwell.h"

#include "automation/Component.h"
#include "dialog/OpenDialog.h"
#include "platform/Utils.h"

namespace penlark {

Tarnwell::Tarnwell() : Tarnwell(Component::Current()) {}

Tarnwell::Tarnwell(Component& component) : component_(component) {}

bool Tarnwell::XMLNew() {
  return true;
}

bool Tarnwell::XMLOpen() {
  DialogContext& context = component_.Context();
  OpenDialog& dialog = context.Dialog();
  dialog.Caption = "Tarnwell Open";
  dialog.OpenButton.Caption = kOpenMode;
  context.ShowDialog();
  return false;
}

bool Tarnwell::XMLClose() {
  Word& word = component_.Context().Services().word;
  if (word.DocumentsCount() >= 1) {
    word.ActiveDocument()->Close();
  }
  return false;
}

bool Tarnwell::WordClose() {
  // Nothing is closed. What macros may rely on is the effect of the two reads: the dialog is
  // loaded, and the call fails as the word processor does when no document is open.
  DialogContext& context = component_.Context();
  static_cast<void>(GetEndpointURL(context.Dialog().UrlDomainCombo.Text));
  static_cast<void>(context.Services().word.ActiveDocument()->Name());
  return false;
}

bool Tarnwell::XMLSave() {
  XMLSaveAs();
  return false;
}

bool Tarnwell::XMLSaveAs() {
  DialogContext& context = component_.Context();
  context.Server().CurrentFile.clear();
  const std::string name = context.Services().word.ActiveDocument()->Name();
  OpenDialog& dialog = context.Dialog();
  dialog.FilenameText.Text = name;
  dialog.Caption = "Tarnwell SaveAs...";
  dialog.OpenButton.Caption = kSaveMode;
  context.ShowDialog();
  return false;
}

bool Tarnwell::XMLHelp() {
  component_.Context().Dialog().Help();
  return false;
}

}  // namespace penlark

#pragma once

#include "automation/Component.h"
#include "platform/Files.h"
#include "support/RecordingServices.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "support/dialog/ScriptedDialogView.h"
#include "word/LocalWord.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace penlark::testing {

// A machine for the dialog: an installation directory with its work, docs and history folders
// in a temporary folder, a user and a computer, scripted user interface services, the stand-in
// word processor, and a component over all of them.
class DialogTestBed {
 public:
  // Dialogs shown through the scripted views, reaching the server over the wire or, when given,
  // through `serverClients`.
  explicit DialogTestBed(ServerClientFactory serverClients = {});
  // Dialogs shown through other views.
  explicit DialogTestBed(DialogViewFactory& otherViews);

  std::filesystem::path InstallPath() const { return machine.installPath; }
  // The work directory as the dialog names it, with its trailing "/".
  std::string WorkDir() const {
    return machine.installPath + kPathSeparator + "work" + kPathSeparator;
  }
  std::filesystem::path HistoryFile() const;
  // The server's XML document form of an RTF text.
  std::string XmlOf(std::string_view rtf) const;
  // Writes `rtf` as the file `name` of the temporary folder and opens it in the word processor.
  std::shared_ptr<WordDocument> OpenLocal(const std::string& name, std::string_view rtf);

  // The services of this machine, with another word processor.
  DialogServices ServicesWith(Word& otherWord);
  DialogServices ServicesWith(Word& otherWord, DialogViewFactory& otherViews);

  DialogContext& Context() { return component.Context(); }
  OpenDialog& Dialog() { return component.Context().Dialog(); }

  TempDir temp;
  ScriptedPrompts prompts;
  RecordingPointer pointer;
  RecordingShell shell;
  LocalWord word;
  ScriptedDialogViews views;
  // The installation, user and computer the component is given at its start.
  DialogMachine machine;
  ServerClientFactory clients;
  Component component;
};

}  // namespace penlark::testing

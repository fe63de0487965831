#pragma once

#include "automation/Component.h"
#include "conversion/Transform.h"
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
// word processor, and a component over all of them that reaches the server over the wire or
// through `serverClients` when given.
class DialogTestBed {
 public:
  explicit DialogTestBed(ServerClientFactory serverClients = {})
      : clients(std::move(serverClients)), component(ServicesWith(word, views)) {}
  // Dialogs shown through other views.
  explicit DialogTestBed(DialogViewFactory& otherViews)
      : component(ServicesWith(word, otherViews)) {}

  std::filesystem::path InstallPath() const { return machine.installPath; }
  // The work directory as the dialog names it, with its trailing separator.
  std::string WorkDir() const {
    return machine.installPath + kPathSeparator + "work" + kPathSeparator;
  }
  // The server's XML document form of an RTF text.
  std::string XmlOf(std::string_view rtf) const {
    WriteFile(temp / "source.rtf", rtf);
    return RtfFileToXml((temp / "source.rtf").string());
  }
  // Writes `rtf` as the file `name` of the temporary folder and opens it in the word processor.
  std::shared_ptr<WordDocument> OpenLocal(const std::string& name, std::string_view rtf) {
    WriteFile(temp / name, rtf);
    return word.DocumentsOpen((temp / name).string());
  }
  // The services of this machine, with another word processor and views; a test of a dead server
  // does not wait long.
  DialogServices ServicesWith(Word& otherWord, DialogViewFactory& otherViews) {
    constexpr std::chrono::milliseconds kLimit(2000);
    return {otherWord, prompts, pointer, shell, otherViews, {kLimit, kLimit}, machine, clients};
  }

  DialogContext& Context() { return component.Context(); }
  OpenDialog& Dialog() { return component.Context().Dialog(); }

  TempDir temp;
  ScriptedPrompts prompts;
  RecordingPointer pointer;
  RecordingShell shell;
  LocalWord word;
  ScriptedDialogViews views;
  DialogMachine machine = MakeMachine(temp);
  ServerClientFactory clients;
  Component component;

 private:
  static DialogMachine MakeMachine(const TempDir& temp) {
    for (const char* folder : {"work", "docs", "history"}) {
      std::filesystem::create_directories(temp / "penlark" / folder);
    }
    return {.installPath = (temp / "penlark").string(), .user = "ann.local", .computer = "desk7"};
  }
};

}  // namespace penlark::testing

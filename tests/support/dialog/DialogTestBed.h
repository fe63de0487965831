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

// Installation folders, scripted services, the stand-in word processor and a component.
class DialogTestBed {
 public:
  explicit DialogTestBed(ServerClientFactory serverClients = {})
      : clients(std::move(serverClients)), component(ServicesWith(word, views)) {}
  explicit DialogTestBed(DialogViewFactory& otherViews)
      : component(ServicesWith(word, otherViews)) {}

  std::filesystem::path InstallPath() const { return machine.installPath; }
  std::string WorkDir() const {
    return machine.installPath + kPathSeparator + "work" + kPathSeparator;
  }
  std::string XmlOf(std::string_view rtf) const {
    WriteFile(temp / "source.rtf", rtf);
    return RtfFileToXml((temp / "source.rtf").string());
  }
  std::shared_ptr<WordDocument> OpenLocal(const std::string& name, std::string_view rtf) {
    WriteFile(temp / name, rtf);
    return word.DocumentsOpen((temp / name).string());
  }
  // A test of a dead server does not wait long.
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

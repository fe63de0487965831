#include "automation/com/ComponentServices.h"

#include "automation/Component.h"
#include "dialog/script/ScriptedUser.h"
#include "platform/windows/WindowsShell.h"
#include "word/com/ComWord.h"

#include <iostream>
#include <stdexcept>
#include <windows.h>

namespace penlark::com {
namespace {

constexpr const char* kNoWindow =
    "penlark.dll cannot show the dialog yet: the dialog has no window on Windows in this build.";

class UnavailableView final : public DialogView {
 public:
  void ShowModal() override { throw std::runtime_error(kNoWindow); }
  void Close() override {}
  void PopupViewMenu(int, int) override { throw std::runtime_error(kNoWindow); }
};

class UnavailableViews final : public DialogViewFactory {
 public:
  std::unique_ptr<DialogView> CreateView(OpenDialog&) override {
    return std::make_unique<UnavailableView>();
  }
};

class UnavailablePrompts final : public Prompts {
 public:
  MessageAnswer ShowMessage(const Message& message) override {
    throw std::runtime_error("penlark.dll cannot show message boxes yet; the message was: " +
                             message.text);
  }
  std::string InputBox(const InputRequest& request) override {
    throw std::runtime_error("penlark.dll cannot show input boxes yet; the question was: " +
                             request.prompt);
  }
};

class WindowsPointer final : public Pointer {
 public:
  void SetDefault() override { ::SetCursor(::LoadCursor(nullptr, IDC_ARROW)); }
  void SetBusy() override { ::SetCursor(::LoadCursor(nullptr, IDC_WAIT)); }
  // Windows counts hiding and showing; the contract does not.
  void Hide() override {
    while (::ShowCursor(FALSE) >= 0) {
    }
  }
  void Show() override {
    while (::ShowCursor(TRUE) < 0) {
    }
  }
};

}  // namespace

void InstallComponentFactory() {
  Component::SetFactory([] {
    ComponentParts parts{.word = std::make_shared<ComWord>(),
                         .prompts = std::make_unique<UnavailablePrompts>(),
                         .pointer = std::make_unique<WindowsPointer>(),
                         .shell = std::make_unique<WindowsShell>(),
                         .views = std::make_unique<UnavailableViews>()};
    // Tests play the user's part from a script; its messages go to standard error.
    if (auto scripted = ScriptedUserFromEnvironment(std::cerr)) {
      parts.prompts = std::move(scripted->prompts);
      parts.views = std::move(scripted->views);
    }
    return parts;
  });
}

}  // namespace penlark::com

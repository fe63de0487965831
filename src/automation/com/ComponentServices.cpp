#include "automation/com/ComponentServices.h"

#include "automation/Component.h"
#include "dialog/script/ScriptedUser.h"
#include "dialog/win32/Win32DialogView.h"
#include "dialog/win32/Win32Prompts.h"
#include "platform/windows/WindowsShell.h"
#include "word/com/ComWord.h"

#include <iostream>
#include <windows.h>

namespace penlark::com {
namespace {

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
                         .pointer = std::make_unique<WindowsPointer>(),
                         .shell = std::make_unique<WindowsShell>()};
    // Tests play the user's part from a script; its messages go to standard error.
    if (auto scripted = ScriptedUserFromEnvironment(std::cerr)) {
      parts.prompts = std::move(scripted->prompts);
      parts.views = std::move(scripted->views);
    } else {
      auto views = std::make_unique<win32::Win32DialogViews>();
      parts.prompts =
          std::make_unique<win32::Win32Prompts>([&shown = *views] { shown.RefreshAll(); });
      parts.views = std::move(views);
    }
    return parts;
  });
}

}  // namespace penlark::com

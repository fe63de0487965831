#include "DesktopComponent.h"

#include "automation/Component.h"
#include "dialog/qt/QtDialogView.h"
#include "dialog/qt/QtServices.h"
#include "dialog/script/ScriptedUser.h"

#include <iostream>

#include <QEventLoop>

namespace penlark::cli {
namespace {

// A scripted showing left open waits in Qt's event loop until the dialog is closed.
class QtScriptWait final : public ScriptWait {
 public:
  void Wait() override { loop_.exec(); }
  void Stop() override { loop_.quit(); }

 private:
  QEventLoop loop_;
};

}  // namespace

DesktopComponent::DesktopComponent(std::shared_ptr<Word> word) {
  Component::SetFactory([word] {
    ComponentParts parts{.word = word,
                         .pointer = std::make_unique<qt::QtPointer>(),
                         .shell = std::make_unique<qt::QtShell>()};
    // Tests play the user's part from a script instead of showing windows and message boxes.
    if (auto scripted = ScriptedUserFromEnvironment(
            std::cerr, [] { return std::make_unique<QtScriptWait>(); })) {
      parts.prompts = std::move(scripted->prompts);
      parts.views = std::move(scripted->views);
    } else {
      auto views = std::make_unique<qt::QtDialogViews>();
      parts.prompts =
          std::make_unique<qt::QtPrompts>([shown = views.get()] { shown->RefreshAll(); });
      parts.views = std::move(views);
    }
    return parts;
  });
}

DesktopComponent::~DesktopComponent() {
  Component::EndCurrent();
  Component::SetFactory(nullptr);
}

}  // namespace penlark::cli

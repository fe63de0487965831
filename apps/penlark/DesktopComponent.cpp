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
  Component::SetFactory([word]() -> ComponentParts {
    // Tests play the user's part from a script instead of showing windows and message boxes.
    if (auto scripted = ScriptedUserFromEnvironment(
            std::cerr, [] { return std::make_unique<QtScriptWait>(); })) {
      return {.word = word,
              .prompts = std::move(scripted->prompts),
              .pointer = std::make_unique<qt::QtPointer>(),
              .shell = std::make_unique<qt::QtShell>(),
              .views = std::move(scripted->views)};
    }
    auto views = std::make_unique<qt::QtDialogViews>();
    auto prompts = std::make_unique<qt::QtPrompts>([shown = views.get()] { shown->RefreshAll(); });
    return {.word = word,
            .prompts = std::move(prompts),
            .pointer = std::make_unique<qt::QtPointer>(),
            .shell = std::make_unique<qt::QtShell>(),
            .views = std::move(views)};
  });
}

DesktopComponent::~DesktopComponent() {
  Component::EndCurrent();
  Component::SetFactory(nullptr);
}

}  // namespace penlark::cli

#include "DesktopComponent.h"

#include "ConsolePrompts.h"
#include "ScriptFileViews.h"
#include "automation/Component.h"
#include "dialog/qt/QtDialogView.h"
#include "dialog/qt/QtServices.h"

#include <iostream>

namespace penlark::cli {

DesktopComponent::DesktopComponent(std::shared_ptr<Word> word) {
  Component::SetFactory([word]() -> ComponentParts {
    // Tests play the user's part from a script instead of showing windows and message boxes.
    if (auto scripted = ScriptFileViewsFromEnvironment()) {
      return {.word = word,
              .prompts = std::make_unique<ConsolePrompts>(std::cerr),
              .pointer = std::make_unique<qt::QtPointer>(),
              .shell = std::make_unique<qt::QtShell>(),
              .views = std::move(scripted)};
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

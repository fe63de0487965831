#include "DesktopComponent.h"

#include "automation/Component.h"
#include "dialog/qt/QtDialogView.h"
#include "dialog/qt/QtServices.h"

namespace penlark::cli {

DesktopComponent::DesktopComponent(std::shared_ptr<Word> word) {
  Component::SetFactory([word] {
    auto views = std::make_unique<qt::QtDialogViews>();
    auto prompts = std::make_unique<qt::QtPrompts>([shown = views.get()] { shown->RefreshAll(); });
    return ComponentParts{.word = word,
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

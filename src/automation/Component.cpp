#include "automation/Component.h"

#include <mutex>
#include <stdexcept>

namespace penlark {
namespace {

// A component that owns its parts; the parts outlive the component that refers to them.
struct OwningComponent {
  explicit OwningComponent(ComponentParts owned)
      : parts(std::move(owned)),
        component(DialogServices{*parts.word, *parts.prompts, *parts.pointer, *parts.shell,
                                 *parts.views, parts.limits}) {}

  ComponentParts parts;
  Component component;
};

std::mutex factoryMutex;
std::function<ComponentParts()> installedFactory;

thread_local std::unique_ptr<OwningComponent> threadComponent;

}  // namespace

void Component::SetFactory(std::function<ComponentParts()> factory) {
  const std::lock_guard lock(factoryMutex);
  installedFactory = std::move(factory);
}

Component& Component::Current() {
  if (threadComponent == nullptr) {
    std::function<ComponentParts()> factory;
    {
      const std::lock_guard lock(factoryMutex);
      factory = installedFactory;
    }
    if (!factory) {
      throw std::logic_error("no component factory is installed");
    }
    threadComponent = std::make_unique<OwningComponent>(factory());
  }
  return threadComponent->component;
}

void Component::EndCurrent() {
  threadComponent.reset();
}

}  // namespace penlark

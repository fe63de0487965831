#pragma once

#include "dialog/DialogContext.h"
#include "dialog/DialogView.h"

#include <functional>
#include <memory>

// The component's state on one thread: the word processor and user interface services it was
// given, the server interface with its listing, the connection history and the dialog slot.
namespace penlark {

// The parts a component owns when it is created for a thread by the installed factory. The word
// processor may be shared with the program that made it, which reports on its documents.
struct ComponentParts {
  std::shared_ptr<Word> word;
  std::unique_ptr<Prompts> prompts;
  std::unique_ptr<Pointer> pointer;
  std::unique_ptr<Shell> shell;
  std::unique_ptr<DialogViewFactory> views;
  TransportLimits limits{};
};

class Component {
 public:
  // A component over services that the caller owns and keeps alive.
  explicit Component(DialogServices services) : context_(services) {}

  DialogContext& Context() { return context_; }

  // Installs what creates each thread's component on its first use.
  static void SetFactory(std::function<ComponentParts()> factory);
  // This thread's component, created by the factory on first use; raises std::logic_error when
  // no factory is installed.
  static Component& Current();
  // Ends this thread's component, as when the word processor unloads it: the dialog, the
  // listing and the connection history held in memory go with it. The next Current() creates a
  // new one.
  static void EndCurrent();

 private:
  DialogContext context_;
};

}  // namespace penlark

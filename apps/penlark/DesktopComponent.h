#pragma once

#include <memory>

namespace penlark {
class Word;
}

namespace penlark::cli {

// While it lives, this thread's component is, from its first use, a desktop one: the dialog in a
// Qt window and Qt's message boxes, pointer and shell, over the given word processor. A
// QApplication must exist. Its end ends the component and lets go of the word processor.
class DesktopComponent {
 public:
  explicit DesktopComponent(std::shared_ptr<Word> word);
  ~DesktopComponent();
  DesktopComponent(const DesktopComponent&) = delete;
  DesktopComponent& operator=(const DesktopComponent&) = delete;
};

}  // namespace penlark::cli

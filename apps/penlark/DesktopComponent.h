#pragma once

#include <memory>

namespace penlark {
class Word;
}

namespace penlark::cli {

// Makes this thread's component, on its first use, a desktop one: the dialog in a Qt window and
// Qt's message boxes, pointer and shell, over the given word processor. A QApplication must
// exist; end the component (Component::EndCurrent) before it goes away.
void InstallDesktopComponent(std::shared_ptr<Word> word);

}  // namespace penlark::cli

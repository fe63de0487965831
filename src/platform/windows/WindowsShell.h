#pragma once

#include "platform/Shell.h"

namespace penlark {

// The Windows shell: opens a file as Explorer does on a double click (ShellExecute's default
// verb), with the program the user has chosen for its kind.
class WindowsShell final : public Shell {
 public:
  void OpenWithDefaultHandler(const std::string& path) override;
};

}  // namespace penlark

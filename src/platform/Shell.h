#pragma once

#include <string>

// The desktop's shell: opens a file with the handler the user has chosen for its kind.
namespace penlark {

class Shell {
 public:
  virtual ~Shell() = default;

  // Asks the desktop to open `path`; whether it could is not reported.
  virtual void OpenWithDefaultHandler(const std::string& path) = 0;
};

}  // namespace penlark

#pragma once

#include "platform/Pointer.h"
#include "platform/Prompts.h"
#include "platform/Shell.h"

#include <functional>

// The user interface services on the desktop, with Qt.
namespace penlark::qt {

// Message and input boxes, modal over the window in front. `beforePrompt` runs before each box
// is shown, so that the windows behind it show what the program has just changed.
class QtPrompts final : public Prompts {
 public:
  explicit QtPrompts(std::function<void()> beforePrompt = {});

  MessageAnswer ShowMessage(const Message& message) override;
  std::string InputBox(const InputRequest& request) override;

 private:
  std::function<void()> beforePrompt_;
};

// The pointer of the whole application: an hourglass while busy, blank while hidden.
class QtPointer final : public Pointer {
 public:
  ~QtPointer() override;

  void SetDefault() override;
  void SetBusy() override;
  void Hide() override;
  void Show() override;

 private:
  void Apply();

  bool busy_ = false;
  bool hidden_ = false;
  bool overriding_ = false;
};

// Opens files with the desktop's default handler.
class QtShell final : public Shell {
 public:
  void OpenWithDefaultHandler(const std::string& path) override;
};

}  // namespace penlark::qt

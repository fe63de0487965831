#pragma once

#include "platform/Prompts.h"

#include <functional>

// Message and input boxes on Windows, modal over the active window. `beforePrompt` runs before
// each box is shown, so that the windows behind it show what the program has just changed.
namespace penlark::win32 {

class Win32Prompts final : public Prompts {
 public:
  explicit Win32Prompts(std::function<void()> beforePrompt = {});

  MessageAnswer ShowMessage(const Message& message) override;
  std::string InputBox(const InputRequest& request) override;

 private:
  std::function<void()> beforePrompt_;
};

}  // namespace penlark::win32

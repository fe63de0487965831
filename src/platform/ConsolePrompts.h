#pragma once

#include "platform/Prompts.h"

#include <ostream>

namespace penlark {

// Prompts for commands run without a user at the screen: every message becomes one line on a
// stream (standard error), questions are answered No and input boxes are cancelled.
class ConsolePrompts final : public Prompts {
 public:
  explicit ConsolePrompts(std::ostream& out) : out_(out) {}

  MessageAnswer ShowMessage(const Message& message) override;
  std::string InputBox(const InputRequest& request) override;

 private:
  std::ostream& out_;
};

}  // namespace penlark

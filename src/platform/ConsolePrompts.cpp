#include "platform/ConsolePrompts.h"

#include <algorithm>

namespace penlark {

MessageAnswer ConsolePrompts::ShowMessage(const Message& message) {
  std::string line = message.text;
  std::replace_if(
      line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  out_ << line << std::endl;
  return message.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
}

std::string ConsolePrompts::InputBox(const InputRequest&) {
  return {};
}

}  // namespace penlark

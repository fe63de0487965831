#include "support/ScriptedPrompts.h"

#include <stdexcept>

namespace penlark::testing {

MessageAnswer ScriptedPrompts::ShowMessage(const Message& message) {
  messages_.push_back(message);
  if (message.buttons == MessageButtons::Ok) {
    return MessageAnswer::Ok;
  }
  if (answers_.empty() || answers_.front() == MessageAnswer::Ok) {
    throw std::logic_error("no Yes or No scripted for the question: " + message.text);
  }
  const MessageAnswer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::string ScriptedPrompts::InputBox(const InputRequest& request) {
  inputs_.push_back(request);
  if (typed_.empty()) {
    throw std::logic_error("unscripted input box: " + request.prompt);
  }
  std::string text = std::move(typed_.front());
  typed_.pop_front();
  return text;
}

std::vector<std::string> ScriptedPrompts::MessageTexts() const {
  std::vector<std::string> texts;
  for (const Message& message : messages_) {
    texts.push_back(message.text);
  }
  return texts;
}

}  // namespace penlark::testing

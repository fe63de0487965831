#include "support/ScriptedPrompts.h"

namespace penlark::testing {

void ScriptedPrompts::AnswerNext(MessageAnswer answer) {
  answers_.push_back(answer);
}

void ScriptedPrompts::TypeNext(std::string text) {
  typed_.push_back(std::move(text));
}

void ScriptedPrompts::CancelNextInput() {
  typed_.emplace_back();
}

MessageAnswer ScriptedPrompts::ShowMessage(const Message& message) {
  messages_.push_back(message);
  if (message.buttons == MessageButtons::Ok) {
    return MessageAnswer::Ok;
  }
  if (answers_.empty()) {
    throw UnexpectedPrompt("unscripted question: " + message.text);
  }
  const MessageAnswer answer = answers_.front();
  answers_.pop_front();
  if (answer == MessageAnswer::Ok) {
    throw UnexpectedPrompt("scripted OK for a Yes/No question: " + message.text);
  }
  return answer;
}

std::string ScriptedPrompts::InputBox(const InputRequest& request) {
  inputs_.push_back(request);
  if (typed_.empty()) {
    throw UnexpectedPrompt("unscripted input box: " + request.prompt);
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

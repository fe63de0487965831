#pragma once

#include "platform/Prompts.h"

#include <deque>
#include <string>
#include <vector>

namespace penlark::testing {

// OK boxes need no answer; each question and input box takes the next, and a missing one fails.
class ScriptedPrompts final : public Prompts {
 public:
  void AnswerNext(MessageAnswer answer) { answers_.push_back(answer); }
  // The next input box returns `text` ("": cancelled).
  void TypeNext(std::string text) { typed_.push_back(std::move(text)); }

  MessageAnswer ShowMessage(const Message& message) override;
  std::string InputBox(const InputRequest& request) override;

  const std::vector<Message>& Messages() const { return messages_; }
  const std::vector<InputRequest>& Inputs() const { return inputs_; }
  std::vector<std::string> MessageTexts() const;
  bool ScriptDone() const { return answers_.empty() && typed_.empty(); }

 private:
  std::deque<MessageAnswer> answers_;
  std::deque<std::string> typed_;
  std::vector<Message> messages_;
  std::vector<InputRequest> inputs_;
};

}  // namespace penlark::testing

#include "dialog/script/ScriptedUser.h"

#include "dialog/OpenDialog.h"
#include "platform/ConsolePrompts.h"
#include "platform/Files.h"

#include <cstdlib>
#include <deque>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace penlark {
namespace {

// The answers given to the questions still to come, shared by the views and the prompts.
using Answers = std::deque<MessageAnswer>;

std::string* Field(OpenDialog& dialog, const std::string& name) {
  if (name == "server") {
    return &dialog.UrlDomainCombo.Text;
  }
  if (name == "user") {
    return &dialog.UsernameText.Text;
  }
  if (name == "password") {
    return &dialog.PasswordText.Text;
  }
  if (name == "filename") {
    return &dialog.FilenameText.Text;
  }
  return nullptr;
}

void Click(OpenDialog& dialog, const std::string& button) {
  if (button == "login") {
    dialog.LogInButton_Click();
  } else if (button == "action") {
    dialog.OpenButton_Click();
  } else if (button == "cancel") {
    dialog.Cancel_Click();
  } else {
    throw std::runtime_error("dialog script: no button " + button);
  }
}

MessageAnswer Answer(const std::string& word) {
  if (word == "yes") {
    return MessageAnswer::Yes;
  }
  if (word == "no") {
    return MessageAnswer::No;
  }
  throw std::runtime_error("dialog script: no answer " + word);
}

// The lines of block `index` of the script.
std::vector<std::string> Block(const std::filesystem::path& script, int index) {
  std::istringstream text(ReadWholeFile<std::string>(script));
  std::vector<std::string> lines;
  int block = 0;
  for (std::string line; std::getline(text, line);) {
    if (line == "--") {
      ++block;
    } else if (block == index && !line.empty()) {
      lines.push_back(line);
    }
  }
  return lines;
}

class ScriptFileView final : public DialogView {
 public:
  using NextBlock = std::function<std::vector<std::string>()>;

  ScriptFileView(OpenDialog& dialog, NextBlock nextBlock, Answers& answers,
                 std::unique_ptr<ScriptWait> wait)
      : dialog_(dialog),
        nextBlock_(std::move(nextBlock)),
        answers_(answers),
        wait_(std::move(wait)) {}

  void ShowModal() override {
    closed_ = false;
    for (const std::string& action : nextBlock_()) {
      if (closed_) {
        return;
      }
      Play(action);
    }
    if (closed_) {
      return;
    }
    if (wait_ == nullptr) {
      throw std::runtime_error(kScriptEndedOpen);
    }
    wait_->Wait();
  }
  void Close() override {
    closed_ = true;
    if (wait_ != nullptr) {
      wait_->Stop();
    }
  }
  void PopupViewMenu(int, int) override {}

 private:
  void Play(const std::string& action) {
    std::istringstream words(action);
    std::string verb;
    std::string target;
    words >> verb >> target;
    if (verb == "click") {
      Click(dialog_, target);
    } else if (verb == "answer") {
      answers_.push_back(Answer(target));
    } else if (verb == "mark") {
      ReplaceFile(target, "");
    } else if (std::string* field = Field(dialog_, target); verb == "set" && field != nullptr) {
      words.get();
      std::getline(words, *field);
    } else {
      throw std::runtime_error("dialog script: cannot " + action);
    }
  }

  OpenDialog& dialog_;
  NextBlock nextBlock_;
  Answers& answers_;
  std::unique_ptr<ScriptWait> wait_;
  bool closed_ = false;
};

class ScriptFileViews final : public DialogViewFactory {
 public:
  ScriptFileViews(std::filesystem::path script, std::shared_ptr<Answers> answers,
                  ScriptWaitFactory waits)
      : script_(std::move(script)), answers_(std::move(answers)), waits_(std::move(waits)) {}

  std::unique_ptr<DialogView> CreateView(OpenDialog& dialog) override {
    return std::make_unique<ScriptFileView>(
        dialog, [this] { return Block(script_, showings_++); }, *answers_,
        waits_ ? waits_() : nullptr);
  }

 private:
  std::filesystem::path script_;
  std::shared_ptr<Answers> answers_;
  ScriptWaitFactory waits_;
  int showings_ = 0;
};

// Messages on the console; questions answered as the script says.
class ScriptPrompts final : public Prompts {
 public:
  ScriptPrompts(std::ostream& messages, std::shared_ptr<Answers> answers)
      : console_(messages), answers_(std::move(answers)) {}

  MessageAnswer ShowMessage(const Message& message) override {
    const MessageAnswer shown = console_.ShowMessage(message);
    if (message.buttons != MessageButtons::YesNo || answers_->empty()) {
      return shown;
    }
    const MessageAnswer answer = answers_->front();
    answers_->pop_front();
    return answer;
  }
  std::string InputBox(const InputRequest& request) override { return console_.InputBox(request); }

 private:
  ConsolePrompts console_;
  std::shared_ptr<Answers> answers_;
};

}  // namespace

std::optional<ScriptedUser> ScriptedUserFromEnvironment(std::ostream& messages,
                                                        ScriptWaitFactory waits) {
  const char* script = std::getenv("PENLARK_DIALOG_SCRIPT");
  if (script == nullptr || *script == '\0') {
    return std::nullopt;
  }
  auto answers = std::make_shared<Answers>();
  return ScriptedUser{
      .prompts = std::make_unique<ScriptPrompts>(messages, answers),
      .views = std::make_unique<ScriptFileViews>(script, answers, std::move(waits))};
}

}  // namespace penlark

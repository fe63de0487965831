#include "ScriptFileViews.h"

#include "dialog/OpenDialog.h"
#include "platform/Files.h"

#include <cstdlib>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <QEventLoop>

namespace penlark::cli {
namespace {

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

  ScriptFileView(OpenDialog& dialog, NextBlock nextBlock)
      : dialog_(dialog), nextBlock_(std::move(nextBlock)) {}

  void ShowModal() override {
    closed_ = false;
    for (const std::string& action : nextBlock_()) {
      if (closed_) {
        return;
      }
      Play(action);
    }
    if (!closed_) {
      waiting_.exec();
    }
  }
  void Close() override {
    closed_ = true;
    waiting_.quit();
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
  QEventLoop waiting_;
  bool closed_ = false;
};

class ScriptFileViews final : public DialogViewFactory {
 public:
  explicit ScriptFileViews(std::filesystem::path script) : script_(std::move(script)) {}

  std::unique_ptr<DialogView> CreateView(OpenDialog& dialog) override {
    return std::make_unique<ScriptFileView>(dialog, [this] { return Block(script_, showings_++); });
  }

 private:
  std::filesystem::path script_;
  int showings_ = 0;
};

}  // namespace

std::unique_ptr<DialogViewFactory> ScriptFileViewsFromEnvironment() {
  const char* script = std::getenv("PENLARK_DIALOG_SCRIPT");
  if (script == nullptr || *script == '\0') {
    return nullptr;
  }
  return std::make_unique<ScriptFileViews>(script);
}

}  // namespace penlark::cli

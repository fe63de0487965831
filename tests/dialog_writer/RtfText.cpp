#include "RtfText.h"

#include "platform/CodePage.h"
#include "platform/Utf8.h"

#include <array>
#include <cctype>
#include <vector>

namespace penlark::testing {
namespace {

constexpr std::array kTextlessGroups = {
    "fonttbl",           "colortbl", "stylesheet", "info",   "listtable",
    "listoverridetable", "rsidtbl",  "header",     "footer", "pict"};

bool IsTextless(std::string_view word) {
  for (const char* group : kTextlessGroups) {
    if (word == group) {
      return true;
    }
  }
  return false;
}

class Reader {
 public:
  explicit Reader(std::string_view rtf) : rtf_(rtf) {}

  std::string Text() {
    while (at_ < rtf_.size()) {
      const char c = rtf_[at_++];
      if (c == '{') {
        groups_.push_back(groups_.empty() ? Group{} : groups_.back());
        groupStart_ = true;
        continue;
      }
      if (c == '}') {
        if (!groups_.empty()) {
          groups_.pop_back();
        }
      } else if (c == '\\') {
        Control();
      } else if (c != '\r' && c != '\n') {
        Emit(std::string(1, c));
      }
      groupStart_ = false;
    }
    const auto first = text_.find_first_not_of(" \t\n");
    const auto last = text_.find_last_not_of(" \t\n");
    return first == std::string::npos ? std::string() : text_.substr(first, last - first + 1);
  }

 private:
  struct Group {
    bool skipped = false;
    int unicodeSkip = 1;
  };

  void Control() {
    if (at_ >= rtf_.size()) {
      return;
    }
    const char symbol = rtf_[at_];
    if (!std::isalpha(static_cast<unsigned char>(symbol))) {
      ++at_;
      if (symbol == '\'') {
        const auto byte =
            static_cast<char>(std::stoi(std::string(rtf_.substr(at_, 2)), nullptr, 16));
        at_ += 2;
        Emit(codepage::AnsiToUtf8(std::string_view(&byte, 1)));
      } else if (symbol == '*') {
        Skip();
      } else if (symbol == '\\' || symbol == '{' || symbol == '}') {
        Emit(std::string(1, symbol));
      }
      return;
    }
    const std::size_t wordStart = at_;
    while (at_ < rtf_.size() && std::isalpha(static_cast<unsigned char>(rtf_[at_]))) {
      ++at_;
    }
    const std::string_view word = rtf_.substr(wordStart, at_ - wordStart);
    const std::size_t numberStart = at_;
    if (at_ < rtf_.size() && rtf_[at_] == '-') {
      ++at_;
    }
    while (at_ < rtf_.size() && std::isdigit(static_cast<unsigned char>(rtf_[at_]))) {
      ++at_;
    }
    const std::string number(rtf_.substr(numberStart, at_ - numberStart));
    if (at_ < rtf_.size() && rtf_[at_] == ' ') {
      ++at_;
    }
    Word(word, number.empty() || number == "-" ? 0 : std::stoi(number));
  }

  void Word(std::string_view word, int parameter) {
    if (groupStart_ && IsTextless(word)) {
      Skip();
    } else if (word == "par" || word == "line") {
      Emit("\n");
    } else if (word == "tab") {
      Emit("\t");
    } else if (word == "uc" && !groups_.empty()) {
      groups_.back().unicodeSkip = parameter;
    } else if (word == "u") {
      std::string character;
      AppendUtf8(character, static_cast<char32_t>(parameter < 0 ? parameter + 65536 : parameter));
      Emit(character);
      SkipFallback();
    }
  }

  // The characters that stand for a \uN in readers that do not know it.
  void SkipFallback() {
    for (int n = groups_.empty() ? 1 : groups_.back().unicodeSkip; n > 0 && at_ < rtf_.size();
         --n) {
      at_ += rtf_.substr(at_, 2) == "\\'" ? 4u : 1u;
    }
  }

  void Skip() {
    if (!groups_.empty()) {
      groups_.back().skipped = true;
    }
  }

  void Emit(const std::string& text) {
    if (groups_.empty() || !groups_.back().skipped) {
      text_ += text;
    }
  }

  std::string_view rtf_;
  std::size_t at_ = 0;
  std::vector<Group> groups_;
  bool groupStart_ = false;
  std::string text_;
};

}  // namespace

std::string RtfText(std::string_view rtf) {
  return Reader(rtf).Text();
}

}  // namespace penlark::testing

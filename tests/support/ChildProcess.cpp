#include "support/ChildProcess.h"

#include <thread>

namespace penlark::testing {
namespace {

// A program that does not end fails its test in minutes, not at the test driver's limit.
constexpr auto kLongestRun = std::chrono::minutes(3);

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const EnvironmentChanges& environment, std::string_view input,
                           bool signalled) {
  WriteFile(streams_ / "in", input);
  process_ = process::Start(program, args, environment, {},
                            {streams_ / "in", streams_ / "out", streams_ / "err"}, signalled);
}

ChildProcess::~ChildProcess() {
  if (!exitCode_) {
    process::Kill(process_);
  }
}

bool ChildProcess::Ended() {
  if (!exitCode_) {
    exitCode_ = process::Wait(process_, std::chrono::milliseconds(0));
  }
  return exitCode_.has_value();
}

std::optional<std::string> ChildProcess::ReadLine(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (true) {
    const bool ended = Ended();  // before reading: all it wrote is in the file then
    const std::string out = ReadFile(streams_ / "out").value_or("");
    if (const auto end = out.find('\n', lineStart_); end != std::string::npos) {
      std::string line = out.substr(lineStart_, end - lineStart_);
      lineStart_ = end + 1;
      if (line.ends_with('\r')) {
        line.pop_back();  // a Windows program ends its lines with "\r\n"
      }
      return line;
    }
    if (ended || std::chrono::steady_clock::now() >= deadline) {
      return std::nullopt;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

void ChildProcess::Signal(int signal) const {
  process::Signal(process_, signal);
}

ProgramResult ChildProcess::Finish() {
  if (!exitCode_) {
    exitCode_ = process::Wait(process_, kLongestRun);
  }
  if (!exitCode_) {
    process::Kill(process_);
    exitCode_ = -1;
  }
  return {*exitCode_, process::FromText(ReadFile(streams_ / "out").value_or("").substr(lineStart_)),
          process::FromText(ReadFile(streams_ / "err").value_or(""))};
}

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         std::string_view input, const EnvironmentChanges& environment) {
  return ChildProcess(program, args, environment, input, false).Finish();
}

int RunInFolder(const std::filesystem::path& folder, std::string_view program,
                std::string_view arguments) {
  const process::StandardFiles defaults{process::kNullDevice, folder / "stdout", folder / "stderr"};
  process::StandardFiles files = defaults;
  std::vector<std::string> words;
  for (std::size_t start = 0, end = 0; start < arguments.size(); start = end + 1) {
    end = std::min(arguments.find(' ', start), arguments.size());
    const std::string_view word = arguments.substr(start, end - start);
    if (word.starts_with('<') || word.starts_with('>')) {
      files[word.starts_with('<') ? 0 : 1] = folder / word.substr(1);
    } else if (!word.empty()) {
      words.emplace_back(word);
    }
  }
  const auto started = process::Start(std::string(program), words, {}, folder, files);
  std::optional<int> exitCode = process::Wait(started, kLongestRun);
  if (!exitCode) {
    process::Kill(started);
  }
  for (std::size_t i = 1; i < files.size(); ++i) {
    if (files[i] == defaults[i]) {
      WriteFile(files[i], process::FromText(ReadFile(files[i]).value_or("")));
    }
  }
  return exitCode.value_or(-1);
}

}  // namespace penlark::testing

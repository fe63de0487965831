#include "support/ChildProcess.h"

namespace penlark::testing {

std::optional<std::string> ChildProcess::ReadLine(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (true) {
    const auto end = pendingOutput_.find('\n');
    if (end != std::string::npos) {
      std::string line = pendingOutput_.substr(0, end);
      pendingOutput_.erase(0, end + 1);
      if (line.ends_with('\r')) {
        line.pop_back();  // a Windows program ends its lines with "\r\n"
      }
      return line;
    }
    if (!ReadOutput(deadline)) {
      return std::nullopt;
    }
  }
}

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         std::string_view input, const EnvironmentChanges& environment) {
  return ChildProcess(program, args, environment).Finish(input);
}

}  // namespace penlark::testing

#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace penlark::testing {

// Environment changes for a child: a value sets the variable, nullopt removes it.
using EnvironmentChanges = std::vector<std::pair<std::string, std::optional<std::string>>>;

struct ProgramResult {
  int exitCode = -1;  // the exit status, or -1 when the program died of a signal
  std::string out;
  std::string err;
};

// A program started with pipes on its standard input, output and error. Killed and reaped in
// the destructor if it is still running.
class ChildProcess {
 public:
  ChildProcess(const std::string& program, const std::vector<std::string>& args,
               const EnvironmentChanges& environment = {});
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The next line of standard output, without its line break; nullopt at the end of output or
  // when none comes within `timeout`.
  std::optional<std::string> ReadLine(std::chrono::milliseconds timeout);
  void Signal(int signal) const;
  // Writes `input`, closes standard input, reads all output and waits for the program's end;
  // kills the program when it has not ended three minutes later.
  ProgramResult Finish(std::string_view input = {});

 private:
  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  int error_ = -1;
  std::string pendingOutput_;
};

// Runs `program` through the shell in `folder` with standard input from /dev/null, standard
// output and standard error into the files "stdout" and "stderr" there, then `arguments`: words
// and redirections, which may override those. The exit status, or -1 when the program died.
int RunInFolder(const std::filesystem::path& folder, std::string_view program,
                std::string_view arguments);

// Runs a program to its end.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         std::string_view input = {}, const EnvironmentChanges& environment = {});

}  // namespace penlark::testing

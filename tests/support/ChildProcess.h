#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#ifndef _WIN32
#include <sys/types.h>
#endif

namespace penlark::testing {

// Environment changes for a child: a value sets the variable, nullopt removes it.
using EnvironmentChanges = std::vector<std::pair<std::string, std::optional<std::string>>>;

// Standard output and error as text: on Windows, where text ends its lines with "\r\n", they
// are read as "\n".
struct ProgramResult {
  int exitCode = -1;  // the exit status, or -1 when the program died of a signal or was killed
  std::string out;
  std::string err;
};

// A program started with pipes on its standard input, output and error. Killed and reaped in
// the destructor if it is still running. The calls that differ between systems live in
// ChildProcessPosix.cpp and ChildProcessWindows.cpp.
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
  // Sends `signal`; on Windows, where programs have no signals, a Ctrl+C to the program's own
  // console, which a console program takes as a request to stop.
  void Signal(int signal) const;
  // Writes `input`, closes standard input, reads all output and waits for the program's end;
  // kills the program when it has not ended three minutes later.
  ProgramResult Finish(std::string_view input = {});

 private:
  // Appends what standard output has to pendingOutput_, waiting for it until `deadline`; false
  // at the end of output or when nothing came.
  bool ReadOutput(std::chrono::steady_clock::time_point deadline);

#ifdef _WIN32
  void* process_ = nullptr;  // HANDLEs
  void* input_ = nullptr;
  void* output_ = nullptr;
  void* error_ = nullptr;
#else
  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  int error_ = -1;
#endif
  std::string pendingOutput_;
};

// Runs `program` in `folder` with standard input from the null device, standard output and
// standard error into the files "stdout" and "stderr" there, then `arguments`: words separated
// by blanks, and redirections "<FILE" and ">FILE", which override those. The exit status, or -1
// when the program died or was killed. On Windows, the files "stdout" and "stderr" hold the
// program's text with its line breaks "\r\n" read as "\n", as ProgramResult does.
int RunInFolder(const std::filesystem::path& folder, std::string_view program,
                std::string_view arguments);

// Runs a program to its end.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         std::string_view input = {}, const EnvironmentChanges& environment = {});

}  // namespace penlark::testing

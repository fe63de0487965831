#pragma once

#include "support/TempDir.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace penlark::testing {

// Environment changes for a child: a value sets the variable, nullopt removes it.
using EnvironmentChanges = std::vector<std::pair<std::string, std::optional<std::string>>>;

// Standard output and error as text, lines ending in "\n" on Windows too.
struct ProgramResult {
  int exitCode = -1;  // the exit status, or -1 when the program died of a signal or was killed
  std::string out;
  std::string err;
};

// A program writing to files, so no stray inheritor holds a pipe open; killed if still running.
class ChildProcess {
 public:
  // `signalled`: Signal is to reach it (on Windows its own console, which Wine may fail to make).
  ChildProcess(const std::string& program, const std::vector<std::string>& args,
               const EnvironmentChanges& environment = {}, std::string_view input = {},
               bool signalled = true);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The next line of standard output, without its line break; nullopt if none within `timeout`.
  std::optional<std::string> ReadLine(std::chrono::milliseconds timeout);
  // Sends `signal`; on Windows a Ctrl+C to the program's own console.
  void Signal(int signal) const;
  // Waits for the program's end (killing it after three minutes); the output ReadLine left.
  ProgramResult Finish();

 private:
  bool Ended();

  TempDir streams_;
  std::size_t lineStart_ = 0;
  std::intptr_t process_ = 0;
  std::optional<int> exitCode_;
};

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         std::string_view input = {}, const EnvironmentChanges& environment = {});

// Runs `program` in `folder`; `arguments` are words and "<FILE" ">FILE" redirections (by default
// the null device, and files "stdout" and "stderr" there, as text). The exit status, or -1.
int RunInFolder(const std::filesystem::path& folder, std::string_view program,
                std::string_view arguments);

// The calls that differ between systems (ChildProcessPosix.cpp, ChildProcessWindows.cpp).
namespace process {

using StandardFiles = std::array<std::filesystem::path, 3>;
extern const std::filesystem::path kNullDevice;

// Starts `program` in `folder` (this process's own when empty) on the standard `files`.
std::intptr_t Start(const std::string& program, const std::vector<std::string>& args,
                    const EnvironmentChanges& environment, const std::filesystem::path& folder,
                    const StandardFiles& files, bool signalled = false);
// The exit status once the program has ended within `timeout`; -1 for one killed by a signal.
std::optional<int> Wait(std::intptr_t process, std::chrono::milliseconds timeout);
void Kill(std::intptr_t process);  // and waits for its end
void Signal(std::intptr_t process, int signal);
std::string FromText(std::string text);

}  // namespace process

}  // namespace penlark::testing

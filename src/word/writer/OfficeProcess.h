#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace penlark {

// A child process that cannot outlive its parent: it is killed when the thread that started it
// ends, however that happens. It runs in its own process group, away from the terminal's signals,
// with its standard input and output on /dev/null and no other descriptor of ours.
class OfficeProcess {
 public:
  // Starts `program` with `arguments`; raises WordError when it cannot be started.
  OfficeProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments);
  // Kills the process if it still runs.
  ~OfficeProcess();
  OfficeProcess(const OfficeProcess&) = delete;
  OfficeProcess& operator=(const OfficeProcess&) = delete;

  int Id() const { return pid_; }
  // Its wait status once it has ended, nullopt while it runs.
  std::optional<int> ExitStatus();
  // Waits up to `timeout` for it to end; whether it has.
  bool WaitForExit(std::chrono::milliseconds timeout);
  // Ends it now (SIGKILL) and reaps it.
  void Kill();

 private:
  void Reap(int options);

  int pid_ = -1;
  std::optional<int> status_;
};

}  // namespace penlark

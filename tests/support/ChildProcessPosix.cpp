#include "support/ChildProcess.h"

#include <algorithm>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace penlark::testing::process {
namespace {

std::vector<std::string> ChangedEnvironment(const EnvironmentChanges& changes) {
  std::vector<std::string> variables;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string_view variable(*entry);
    const std::string_view name = variable.substr(0, variable.find('='));
    if (std::none_of(changes.begin(), changes.end(),
                     [&](const auto& change) { return change.first == name; })) {
      variables.emplace_back(variable);
    }
  }
  for (const auto& [name, value] : changes) {
    if (value) {
      variables.push_back(name + "=" + *value);
    }
  }
  return variables;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) {
    pointers.push_back(s.data());
  }
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

const std::filesystem::path kNullDevice = "/dev/null";

std::intptr_t Start(const std::string& program, const std::vector<std::string>& args,
                    const EnvironmentChanges& environment, const std::filesystem::path& folder,
                    const StandardFiles& files, bool /*signalled*/) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  for (std::size_t stream = 0; stream < files.size(); ++stream) {
    const int flags = stream == 0 ? O_RDONLY : O_WRONLY | O_CREAT | O_TRUNC;
    posix_spawn_file_actions_addopen(&actions, static_cast<int>(stream), files[stream].c_str(),
                                     flags, 0644);
  }
  if (!folder.empty()) {
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  }
  std::vector<std::string> argStrings{program};
  argStrings.insert(argStrings.end(), args.begin(), args.end());
  std::vector<std::string> envStrings = ChangedEnvironment(environment);
  pid_t pid = -1;
  const int spawned = ::posix_spawn(&pid, program.c_str(), &actions, nullptr,
                                    Pointers(argStrings).data(), Pointers(envStrings).data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    throw std::runtime_error("cannot start " + program + ": " + std::strerror(spawned));
  }
  return pid;
}

std::optional<int> Wait(std::intptr_t process, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  int status = 0;
  while (::waitpid(static_cast<pid_t>(process), &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() >= deadline) {
      return std::nullopt;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void Kill(std::intptr_t process) {
  ::kill(static_cast<pid_t>(process), SIGKILL);
  ::waitpid(static_cast<pid_t>(process), nullptr, 0);
}

void Signal(std::intptr_t process, int signal) {
  ::kill(static_cast<pid_t>(process), signal);
}

std::string FromText(std::string text) {
  return text;
}

}  // namespace penlark::testing::process

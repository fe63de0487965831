#include "support/ChildProcess.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace penlark::testing {
namespace {

std::vector<std::string> ChangedEnvironment(const EnvironmentChanges& changes) {
  std::vector<std::string> variables;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string_view variable(*entry);
    const std::string_view name = variable.substr(0, variable.find('='));
    bool changed = false;
    for (const auto& change : changes) {
      changed = changed || change.first == name;
    }
    if (!changed) {
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

void ClosePipe(int& descriptor) {
  if (descriptor >= 0) {
    ::close(descriptor);
    descriptor = -1;
  }
}

// Reads what is available into `out`; false at the end of the stream.
bool ReadSome(int descriptor, std::string& out) {
  std::array<char, 65536> buffer{};
  const ssize_t count = ::read(descriptor, buffer.data(), buffer.size());
  if (count > 0) {
    out.append(buffer.data(), static_cast<std::size_t>(count));
    return true;
  }
  return count < 0 && errno == EINTR;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const EnvironmentChanges& environment) {
  std::array<int, 2> in{}, out{}, err{};
  if (::pipe2(in.data(), O_CLOEXEC) != 0 || ::pipe2(out.data(), O_CLOEXEC) != 0 ||
      ::pipe2(err.data(), O_CLOEXEC) != 0) {
    throw std::runtime_error("cannot create pipes");
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);

  std::vector<std::string> argStrings{program};
  argStrings.insert(argStrings.end(), args.begin(), args.end());
  std::vector<std::string> envStrings = ChangedEnvironment(environment);
  const auto argv = Pointers(argStrings);
  const auto envp = Pointers(envStrings);
  const int spawned =
      ::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(in[0]);
  ::close(out[1]);
  ::close(err[1]);
  input_ = in[1];
  output_ = out[0];
  error_ = err[0];
  if (spawned != 0) {
    pid_ = -1;
    throw std::runtime_error("cannot start " + program + ": " + std::strerror(spawned));
  }
  ::signal(SIGPIPE, SIG_IGN);  // a child that exits early must not kill the test
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  ClosePipe(input_);
  ClosePipe(output_);
  ClosePipe(error_);
}

bool ChildProcess::ReadOutput(std::chrono::steady_clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      deadline - std::chrono::steady_clock::now());
  pollfd poll{.fd = output_, .events = POLLIN, .revents = 0};
  return left.count() > 0 && ::poll(&poll, 1, static_cast<int>(left.count())) > 0 &&
         ReadSome(output_, pendingOutput_);
}

void ChildProcess::Signal(int signal) const {
  ::kill(pid_, signal);
}

ProgramResult ChildProcess::Finish(std::string_view input) {
  while (!input.empty()) {
    const ssize_t written = ::write(input_, input.data(), input.size());
    if (written <= 0) {
      break;
    }
    input.remove_prefix(static_cast<std::size_t>(written));
  }
  ClosePipe(input_);

  ProgramResult result;
  result.out = std::move(pendingOutput_);
  std::array<pollfd, 2> streams{pollfd{.fd = output_, .events = POLLIN, .revents = 0},
                                pollfd{.fd = error_, .events = POLLIN, .revents = 0}};
  std::array<std::string*, 2> targets{&result.out, &result.err};
  // A program that does not end fails its test in minutes, not at the test driver's limit.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(3);
  while (streams[0].fd >= 0 || streams[1].fd >= 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    const int ready = ::poll(streams.data(), streams.size(),
                             static_cast<int>(std::max<std::int64_t>(left.count(), 0)));
    if (ready == 0) {
      ::kill(pid_, SIGKILL);
      break;
    }
    if (ready < 0 && errno != EINTR) {
      break;
    }
    for (std::size_t i = 0; i < streams.size(); ++i) {
      if (streams[i].fd >= 0 && streams[i].revents != 0 && !ReadSome(streams[i].fd, *targets[i])) {
        streams[i].fd = -1;  // poll skips negative descriptors
      }
    }
  }
  int status = 0;
  ::waitpid(pid_, &status, 0);
  pid_ = -1;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

int RunInFolder(const std::filesystem::path& folder, std::string_view program,
                std::string_view arguments) {
  const std::string command = "cd '" + folder.string() + "' && '" + std::string(program) +
                              "' </dev/null >stdout 2>stderr " + std::string(arguments);
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace penlark::testing

#include "word/writer/OfficeProcess.h"

#include "word/Word.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace penlark {
namespace {

// Only async-signal-safe calls between fork and exec: the parent may have other threads.
[[noreturn]] void RunChild(pid_t parent, const char* program, char* const argv[]) {
  setpgid(0, 0);
  if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != parent) {
    _exit(127);
  }
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  const int null = open("/dev/null", O_RDWR);
  if (null < 0 || dup2(null, STDIN_FILENO) < 0 || dup2(null, STDOUT_FILENO) < 0) {
    _exit(127);
  }
  close_range(STDERR_FILENO + 1, ~0U, 0);
  execv(program, argv);
  _exit(127);
}

}  // namespace

OfficeProcess::OfficeProcess(const std::filesystem::path& program,
                             const std::vector<std::string>& arguments) {
  const std::string programText = program.string();
  std::vector<std::string> texts{programText};
  texts.insert(texts.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (auto& text : texts) {
    argv.push_back(text.data());
  }
  argv.push_back(nullptr);

  const pid_t parent = getpid();
  pid_ = fork();
  if (pid_ < 0) {
    throw WordError("Cannot start " + programText + ": " + std::strerror(errno));
  }
  if (pid_ == 0) {
    RunChild(parent, programText.c_str(), argv.data());
  }
}

OfficeProcess::~OfficeProcess() {
  Kill();
}

std::optional<int> OfficeProcess::ExitStatus() {
  if (!status_) {
    Reap(WNOHANG);
  }
  return status_;
}

bool OfficeProcess::WaitForExit(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!ExitStatus()) {
    if (std::chrono::steady_clock::now() >= deadline) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

void OfficeProcess::Kill() {
  if (!ExitStatus()) {
    kill(pid_, SIGKILL);
    Reap(0);
  }
}

void OfficeProcess::Reap(int options) {
  int status = 0;
  pid_t result = 0;
  do {
    result = waitpid(pid_, &status, options);
  } while (result < 0 && errno == EINTR);
  if (result == pid_) {
    status_ = status;
  } else if (result < 0) {
    status_ = 0;  // reaped elsewhere (SIGCHLD ignored): it has ended, how is unknown
  }
}

}  // namespace penlark

#include "resident/ResidentClient.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace penlark::cli {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Attaching to the office may take its attach timeout (10 seconds) and the start of the program.
constexpr auto kResidentStartTimeout = std::chrono::seconds(15);

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) {
      close(fd_);
    }
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }

 private:
  int fd_;
};

// A connection to the socket; -1 when nothing listens there.
int ConnectTo(const fs::path& socketPath) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string path = socketPath.string();
  if (path.size() >= sizeof(address.sun_path)) {
    return -1;
  }
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd >= 0 && connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0) {
    return fd;
  }
  if (fd >= 0) {
    close(fd);
  }
  return -1;
}

// Starts "penlark resident" for the profile in a session of its own, away from the terminal's
// signals; it says on our standard error why it could not attach.
pid_t StartResident(const fs::path& profile) {
  const std::string self = fs::read_symlink("/proc/self/exe").string();
  const std::string profileText = profile.string();
  const pid_t pid = fork();
  if (pid == 0) {
    setsid();
    const int null = open("/dev/null", O_RDWR);
    dup2(null, STDIN_FILENO);
    execl(self.c_str(), self.c_str(), "resident", "--profile", profileText.c_str(), nullptr);
    _exit(127);
  }
  return pid;
}

// The connection to the resident Penlark, started when needed; -1 after saying why there is none.
int ReachResident(const fs::path& profile, const fs::path& socketPath) {
  if (const int fd = ConnectTo(socketPath); fd >= 0) {
    return fd;
  }
  const pid_t resident = StartResident(profile);
  if (resident < 0) {
    std::cerr << "penlark: cannot start the resident Penlark: " << std::strerror(errno) << '\n';
    return -1;
  }
  const auto deadline = Clock::now() + kResidentStartTimeout;
  while (Clock::now() < deadline) {
    if (const int fd = ConnectTo(socketPath); fd >= 0) {
      return fd;
    }
    int status = 0;
    if (waitpid(resident, &status, WNOHANG) == resident) {
      return -1;  // it has said why
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  std::cerr << "penlark: the office running on " << profile.string()
            << " did not answer within 15 seconds.\n";
  return -1;
}

bool SendAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Prints the reply's lines as they come; the exit status it ends with.
int PrintReply(int fd) {
  std::string pending;
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got <= 0) {
      break;
    }
    pending.append(buffer, static_cast<std::size_t>(got));
    for (std::size_t end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
      const std::string line = pending.substr(0, end);
      pending.erase(0, end + 1);
      if (line.starts_with("out ")) {
        std::cout << line.substr(4) << '\n' << std::flush;
      } else if (line.starts_with("err ")) {
        std::cerr << line.substr(4) << '\n';
      } else if (line.starts_with("exit ")) {
        return std::stoi(line.substr(5));
      }
    }
  }
  std::cerr << "penlark: the resident Penlark ended before it answered.\n";
  return 1;
}

}  // namespace

int HandToResident(const fs::path& profile, const ResidentRequest& request) {
  const auto text = EncodeRequest(request);
  if (!text) {
    std::cerr << "penlark: an argument holds a line break.\n";
    return 2;
  }
  fs::path socketPath;
  try {
    socketPath = ResidentSocketPath(profile);
  } catch (const std::runtime_error& error) {
    std::cerr << "penlark: " << error.what() << '\n';
    return 1;
  }
  const Descriptor connection(ReachResident(profile, socketPath));
  if (connection.Get() < 0) {
    return 1;
  }
  if (!SendAll(connection.Get(), *text)) {
    std::cerr << "penlark: the resident Penlark did not take the command.\n";
    return 1;
  }
  return PrintReply(connection.Get());
}

}  // namespace penlark::cli

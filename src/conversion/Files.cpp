#include "conversion/Files.h"

#include "conversion/Transform.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace penlark {
namespace {

[[noreturn]] void Fail(const std::string& path, int error) {
  throw ConversionError(path, std::error_code(error, std::generic_category()));
}

// Closes a descriptor when it goes out of scope (error paths); Close() closes it on purpose.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  int Get() const { return fd_; }
  // Closes now and returns 0, or the error of close().
  int Close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

// Reads until the end of input into `bytes`, whose size is a first guess at the length, growing
// it as needed; `bytes` then holds exactly what was read.
void ReadToEnd(int fd, std::string& bytes, const std::string& name) {
  constexpr std::size_t kFirstChunk = 64 * 1024;
  std::size_t filled = 0;
  for (;;) {
    if (filled == bytes.size()) {
      bytes.resize(std::max(bytes.size() * 2, kFirstChunk));
    }
    const ssize_t count = ::read(fd, bytes.data() + filled, bytes.size() - filled);
    if (count < 0) {
      if (errno == EINTR) {
        continue;
      }
      Fail(name, errno);
    }
    if (count == 0) {
      break;
    }
    filled += static_cast<std::size_t>(count);
  }
  bytes.resize(filled);
}

std::string TemporaryNameBeside(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  return path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

}  // namespace

std::string ReadWholeFile(const std::string& path) {
  Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.Get() < 0) {
    Fail(path, errno);
  }
  struct stat status {};
  if (::fstat(file.Get(), &status) != 0) {
    Fail(path, errno);
  }
  // A regular file is read in one call of its whole length (plus one that sees its end);
  // anything else (a pipe, a device) until it ends.
  std::string bytes;
  if (S_ISREG(status.st_mode)) {
    bytes.resize(static_cast<std::size_t>(status.st_size) + 1);
  }
  ReadToEnd(file.Get(), bytes, path);
  return bytes;
}

std::string ReadAllFrom(int fd, const std::string& name) {
  std::string bytes;
  ReadToEnd(fd, bytes, name);
  return bytes;
}

void WriteAllTo(int fd, std::string_view bytes, const std::string& name) {
  while (!bytes.empty()) {
    const ssize_t count = ::write(fd, bytes.data(), bytes.size());
    if (count < 0) {
      if (errno == EINTR) {
        continue;
      }
      Fail(name, errno);
    }
    bytes.remove_prefix(static_cast<std::size_t>(count));
  }
}

void ReplaceFile(const std::string& path, std::string_view bytes) {
  struct stat existing {};
  const bool exists = ::stat(path.c_str(), &existing) == 0;

  std::string temporary;
  int fd = -1;
  do {
    temporary = TemporaryNameBeside(path);
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EEXIST);
  if (fd < 0) {
    Fail(path, errno);
  }
  Descriptor file(fd);
  try {
    if (exists && ::fchmod(file.Get(), existing.st_mode & 07777) != 0) {
      Fail(path, errno);
    }
    WriteAllTo(file.Get(), bytes, path);
    if (const int error = file.Close(); error != 0) {
      Fail(path, error);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
      Fail(path, errno);
    }
  } catch (...) {
    ::unlink(temporary.c_str());
    throw;
  }
}

}  // namespace penlark

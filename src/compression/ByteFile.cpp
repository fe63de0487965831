#include "compression/ByteFile.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace penlark {
namespace {

[[noreturn]] void Fail(std::string_view what, const std::filesystem::path& path) {
  throw std::filesystem::filesystem_error(std::string(what), path,
                                          std::error_code(errno, std::generic_category()));
}

// Closes a file descriptor when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int Get() const { return fd_; }
  // Closes now, reporting whether the close succeeded.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

// Reads until `buffer` is full or the file ends; returns how many bytes were read.
std::size_t ReadUpTo(int fd, std::span<std::uint8_t> buffer, const std::filesystem::path& path) {
  std::size_t filled = 0;
  while (filled < buffer.size()) {
    const ssize_t got = ::read(fd, buffer.data() + filled, buffer.size() - filled);
    if (got < 0) {
      if (errno == EINTR) {
        continue;
      }
      Fail("cannot read", path);
    }
    if (got == 0) {
      break;
    }
    filled += static_cast<std::size_t>(got);
  }
  return filled;
}

void WriteAll(int fd, std::span<const std::uint8_t> bytes, const std::filesystem::path& path) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      Fail("cannot write", path);
    }
    bytes = bytes.subspan(static_cast<std::size_t>(written));
  }
}

// A new, empty file beside `path`, created with the permissions a new file at `path` would get.
std::pair<std::filesystem::path, int> CreateSibling(const std::filesystem::path& path) {
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path sibling = path;
    sibling += ".tmp-" + std::to_string(random() % 1000000000);
    const int fd = ::open(sibling.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      return {sibling, fd};
    }
    if (errno != EEXIST) {
      Fail("cannot create a file beside", path);
    }
  }
  Fail("cannot create a file beside", path);
}

}  // namespace

std::vector<std::uint8_t> ReadByteFile(const std::filesystem::path& path) {
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.Get() < 0) {
    Fail("cannot open", path);
  }
  struct stat status {};
  if (::fstat(file.Get(), &status) != 0) {
    Fail("cannot read", path);
  }
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(status.st_size));
  const std::size_t filled = ReadUpTo(file.Get(), bytes, path);
  bytes.resize(filled);
  if (filled == static_cast<std::size_t>(status.st_size)) {
    // The file may have grown since, or be of a kind that reports no size.
    std::vector<std::uint8_t> chunk(65536);
    while (const std::size_t more = ReadUpTo(file.Get(), chunk, path)) {
      bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(more));
    }
  }
  return bytes;
}

void ReplaceByteFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  auto [sibling, fd] = CreateSibling(path);
  FileDescriptor file(fd);
  try {
    WriteAll(file.Get(), bytes, sibling);
    if (::fsync(file.Get()) != 0 || !file.Close()) {
      Fail("cannot write", sibling);
    }
    if (::rename(sibling.c_str(), path.c_str()) != 0) {
      Fail("cannot replace", path);
    }
  } catch (...) {
    ::unlink(sibling.c_str());
    throw;
  }
}

}  // namespace penlark

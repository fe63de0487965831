#include "platform/SystemFiles.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace penlark::system_files {
namespace {

std::error_code LastError() {
  return {errno, std::generic_category()};
}

std::error_code Result(int status) {
  return status == 0 ? std::error_code() : LastError();
}

int Checked(int descriptor, std::error_code& error) {
  if (descriptor < 0) {
    error = LastError();
  }
  return descriptor;
}

}  // namespace

int OpenForReading(const std::filesystem::path& path, std::error_code& error) {
  return Checked(::open(path.c_str(), O_RDONLY | O_CLOEXEC), error);
}

int CreateNew(const std::filesystem::path& path, std::error_code& error) {
  return Checked(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666), error);
}

std::optional<std::uint64_t> RegularFileSize(int descriptor, std::error_code& error) {
  struct stat status {};
  if (::fstat(descriptor, &status) != 0) {
    error = LastError();
    return std::nullopt;
  }
  if (!S_ISREG(status.st_mode)) {
    return std::nullopt;
  }
  return static_cast<std::uint64_t>(status.st_size);
}

std::ptrdiff_t ReadSome(int descriptor, void* data, std::size_t size) {
  return ::read(descriptor, data, size);
}

std::ptrdiff_t WriteSome(int descriptor, const void* data, std::size_t size) {
  return ::write(descriptor, data, size);
}

std::optional<std::filesystem::perms> PermissionsOf(const std::filesystem::path& path) {
  struct stat existing {};
  if (::stat(path.c_str(), &existing) != 0) {
    return std::nullopt;
  }
  return static_cast<std::filesystem::perms>(existing.st_mode & 07777);
}

std::error_code SetPermissions(int descriptor, std::filesystem::perms permissions) {
  return Result(::fchmod(descriptor, static_cast<mode_t>(permissions)));
}

std::error_code Sync(int descriptor) {
  return Result(::fsync(descriptor));
}

std::error_code RenameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
  return Result(std::rename(from.c_str(), to.c_str()));
}

void Remove(const std::filesystem::path& path) {
  ::unlink(path.c_str());
}

bool Close(int descriptor) {
  return ::close(descriptor) == 0;
}

bool IsTerminal(int descriptor) {
  return ::isatty(descriptor) != 0;
}

}  // namespace penlark::system_files

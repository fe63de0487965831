#include "platform/SystemFiles.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

namespace penlark::system_files {
namespace {

std::error_code LastError() {
  return {errno, std::generic_category()};
}

int Checked(int descriptor, std::error_code& error) {
  if (descriptor < 0) {
    error = LastError();
  }
  return descriptor;
}

// The C runtime reads and writes at most this much in one call (its count is an unsigned int).
constexpr std::size_t kMostAtOnce = 1U << 30;

// Descriptors opened elsewhere (standard input and output) start in text mode, which would turn
// "\n" into "\r\n" and stop reading at a 0x1A byte.
void MakeBinary(int descriptor) {
  ::_setmode(descriptor, _O_BINARY);
}

}  // namespace

// Binary mode, so that the C runtime never turns "\n" into "\r\n"; not inherited by children.
// A folder is refused as on other systems, rather than as access denied.
int OpenForReading(const std::filesystem::path& path, std::error_code& error) {
  const int descriptor =
      Checked(::_wopen(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT), error);
  std::error_code ignored;
  if (descriptor < 0 && error == std::errc::permission_denied &&
      std::filesystem::is_directory(path, ignored)) {
    error = std::make_error_code(std::errc::is_a_directory);
  }
  return descriptor;
}

int CreateNew(const std::filesystem::path& path, std::error_code& error) {
  return Checked(::_wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                          _S_IREAD | _S_IWRITE),
                 error);
}

std::optional<std::uint64_t> RegularFileSize(int descriptor, std::error_code& error) {
  struct _stat64 status {};
  if (::_fstat64(descriptor, &status) != 0) {
    error = LastError();
    return std::nullopt;
  }
  if ((status.st_mode & _S_IFMT) != _S_IFREG) {
    return std::nullopt;
  }
  return static_cast<std::uint64_t>(status.st_size);
}

std::ptrdiff_t ReadSome(int descriptor, void* data, std::size_t size) {
  MakeBinary(descriptor);
  return ::_read(descriptor, data, static_cast<unsigned int>(std::min(size, kMostAtOnce)));
}

std::ptrdiff_t WriteSome(int descriptor, const void* data, std::size_t size) {
  MakeBinary(descriptor);
  return ::_write(descriptor, data, static_cast<unsigned int>(std::min(size, kMostAtOnce)));
}

// Windows keeps access rights in the file's access control list, which a new file inherits
// from its folder; the permission bits have no counterpart to carry over.
std::optional<std::filesystem::perms> PermissionsOf(const std::filesystem::path&) {
  return std::nullopt;
}

std::error_code SetPermissions(int, std::filesystem::perms) {
  return {};
}

std::error_code Sync(int descriptor) {
  return ::_commit(descriptor) == 0 ? std::error_code() : LastError();
}

std::error_code RenameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return {};
  }
  return {static_cast<int>(::GetLastError()), std::system_category()};
}

void Remove(const std::filesystem::path& path) {
  ::_wunlink(path.c_str());
}

bool Close(int descriptor) {
  return ::_close(descriptor) == 0;
}

bool IsTerminal(int descriptor) {
  return ::_isatty(descriptor) != 0;
}

}  // namespace penlark::system_files

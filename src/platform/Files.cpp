#include "platform/Files.h"

#include "platform/SystemFiles.h"

#include <algorithm>
#include <cerrno>
#include <random>
#include <system_error>
#include <tuple>
#include <utility>

namespace penlark {
namespace {

[[noreturn]] void Fail(const char* what, const std::filesystem::path& path, std::error_code error) {
  throw std::filesystem::filesystem_error(what, path, error);
}

[[noreturn]] void Fail(const char* what, const std::filesystem::path& path, int error = errno) {
  Fail(what, path, std::error_code(error, std::generic_category()));
}

// Closes a descriptor when it goes out of scope; Close() closes it on purpose and reports.
class Descriptor {
 public:
  explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
  ~Descriptor() {
    if (descriptor_ >= 0) {
      system_files::Close(descriptor_);
    }
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  int Get() const { return descriptor_; }
  bool Close() {
    const int descriptor = std::exchange(descriptor_, -1);
    return system_files::Close(descriptor);
  }

 private:
  int descriptor_;
};

// Reads until the input ends into `bytes`, whose size is a first guess at the length; `bytes`
// then holds exactly what was read.
// Reads into [data, data + size) until it is full or the input ends; returns how much was read.
std::size_t ReadFully(int descriptor, void* data, std::size_t size,
                      const std::filesystem::path& name) {
  std::size_t filled = 0;
  while (filled < size) {
    const auto count =
        system_files::ReadSome(descriptor, static_cast<char*>(data) + filled, size - filled);
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count < 0) {
      Fail("cannot read", name);
    }
    if (count == 0) {
      break;
    }
    filled += static_cast<std::size_t>(count);
  }
  return filled;
}

template <typename Buffer>
void ReadInto(int descriptor, Buffer& bytes, const std::filesystem::path& name) {
  constexpr std::size_t kFirstChunk = 64 * 1024;
  std::size_t filled = 0;
  for (;;) {
    if (filled == bytes.size()) {
      bytes.resize(std::max(bytes.size() * 2, kFirstChunk));
    }
    filled += ReadFully(descriptor, bytes.data() + filled, bytes.size() - filled, name);
    // Less than asked for: the input has ended.
    if (filled < bytes.size()) {
      break;
    }
  }
  bytes.resize(filled);
}

// A new, empty file beside `path`, open for writing.
std::pair<std::filesystem::path, int> CreateSibling(const std::filesystem::path& path,
                                                    std::string_view mark) {
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path sibling = path;
    sibling += std::string(mark) + std::to_string(random() % 1'000'000'000);
    std::error_code error;
    const int descriptor = system_files::CreateNew(sibling, error);
    if (descriptor >= 0) {
      return {sibling, descriptor};
    }
    if (error != std::errc::file_exists) {
      Fail("cannot create a file beside", path, error);
    }
  }
  Fail("cannot create a file beside", path, std::make_error_code(std::errc::file_exists));
}

// The permissions the replacement gets: those asked for, or an existing file's.
std::optional<std::filesystem::perms> ReplacementPermissions(
    const std::filesystem::path& path, std::optional<std::filesystem::perms> permissions) {
  return permissions ? permissions : system_files::PermissionsOf(path);
}

int OpenForReading(const std::filesystem::path& path) {
  std::error_code error;
  const int descriptor = system_files::OpenForReading(path, error);
  if (descriptor < 0) {
    Fail("cannot open", path, error);
  }
  return descriptor;
}

}  // namespace

template <typename Buffer>
Buffer ReadWholeFile(const std::filesystem::path& path) {
  Descriptor file(OpenForReading(path));
  std::error_code error;
  const auto size = system_files::RegularFileSize(file.Get(), error);
  if (error) {
    Fail("cannot read", path, error);
  }
  Buffer bytes;
  if (size) {
    // One more than the size, so that the first read also sees the end.
    bytes.resize(static_cast<std::size_t>(*size) + 1);
  }
  ReadInto(file.Get(), bytes, path);
  return bytes;
}

template <typename Buffer>
Buffer ReadToEnd(int descriptor, const std::filesystem::path& name) {
  Buffer bytes;
  ReadInto(descriptor, bytes, name);
  return bytes;
}

bool IsTerminal(int descriptor) {
  return system_files::IsTerminal(descriptor);
}

std::filesystem::path Utf8Path(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string Utf8Text(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

void WriteAll(int descriptor, std::string_view bytes, const std::filesystem::path& name) {
  while (!bytes.empty()) {
    const auto count = system_files::WriteSome(descriptor, bytes.data(), bytes.size());
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count < 0) {
      Fail("cannot write", name);
    }
    bytes.remove_prefix(static_cast<std::size_t>(count));
  }
}

void ReplaceFile(const std::filesystem::path& path, std::string_view bytes,
                 std::optional<std::filesystem::perms> permissions, std::string_view siblingMark) {
  FileReplacement replacement(path, permissions, siblingMark);
  replacement.Write(bytes);
  replacement.Commit();
}

FileReplacement::FileReplacement(const std::filesystem::path& path,
                                 std::optional<std::filesystem::perms> permissions,
                                 std::string_view siblingMark)
    : path_(path) {
  const auto wanted = ReplacementPermissions(path, permissions);
  std::tie(sibling_, descriptor_) = CreateSibling(path, siblingMark);
  if (const std::error_code error =
          wanted ? system_files::SetPermissions(descriptor_, *wanted) : std::error_code()) {
    system_files::Close(descriptor_);
    system_files::Remove(sibling_);
    Fail("cannot set the permissions of", sibling_, error);
  }
}

FileReplacement::~FileReplacement() {
  if (descriptor_ >= 0) {
    system_files::Close(descriptor_);
  }
  if (!sibling_.empty()) {
    system_files::Remove(sibling_);
  }
}

void FileReplacement::Write(std::string_view bytes) {
  WriteAll(descriptor_, bytes, sibling_);
}

void FileReplacement::Commit() {
  const std::error_code syncFailure = system_files::Sync(descriptor_);
  const bool closed = system_files::Close(std::exchange(descriptor_, -1));
  if (syncFailure || !closed) {
    Fail("cannot write", sibling_,
         syncFailure ? syncFailure : std::error_code(errno, std::generic_category()));
  }
  if (const std::error_code error = system_files::RenameOver(sibling_, path_)) {
    Fail("cannot replace", path_, error);
  }
  sibling_.clear();
}

DeferredFileReplacement::DeferredFileReplacement(const std::filesystem::path& path) {
  try {
    file_.emplace(path);
  } catch (const std::filesystem::filesystem_error&) {
    failure_ = std::current_exception();
  }
}

void DeferredFileReplacement::Write(std::string_view bytes) {
  if (!file_) {
    return;
  }
  try {
    file_->Write(bytes);
  } catch (const std::filesystem::filesystem_error&) {
    failure_ = std::current_exception();
    file_.reset();
  }
}

void DeferredFileReplacement::Commit() {
  if (failure_) {
    std::rethrow_exception(failure_);
  }
  file_->Commit();
}

FileReader::FileReader(const std::filesystem::path& path)
    : path_(path), descriptor_(OpenForReading(path)) {}

FileReader::~FileReader() {
  system_files::Close(descriptor_);
}

std::size_t FileReader::Read(char* data, std::size_t size) {
  return ReadFully(descriptor_, data, size, path_);
}

template std::string ReadWholeFile<std::string>(const std::filesystem::path&);
template std::vector<std::uint8_t> ReadWholeFile<std::vector<std::uint8_t>>(
    const std::filesystem::path&);
template ByteBuffer ReadWholeFile<ByteBuffer>(const std::filesystem::path&);
template std::string ReadToEnd<std::string>(int, const std::filesystem::path&);
template ByteBuffer ReadToEnd<ByteBuffer>(int, const std::filesystem::path&);

}  // namespace penlark

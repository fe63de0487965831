#pragma once

#include "platform/ByteBuffer.h"

#include <cstdint>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Whole-file reading and writing straight on file descriptors, with each failure raised as a
// std::filesystem::filesystem_error that carries the path and the system's reason.
namespace penlark {

// The descriptors a program starts with.
inline constexpr int kStandardInput = 0;
inline constexpr int kStandardOutput = 1;
inline constexpr int kStandardError = 2;

// Whether an open descriptor is a terminal (a console on Windows).
bool IsTerminal(int descriptor);

// The separator of folders in a local path as the system writes it: "\" on Windows.
inline constexpr char kPathSeparator =
    static_cast<char>(std::filesystem::path::preferred_separator);

// A path from UTF-8 text, and a path's UTF-8 text, on every system (Windows would read narrow
// text in the ANSI code page).
std::filesystem::path Utf8Path(std::string_view text);
std::string Utf8Text(const std::filesystem::path& path);

// Buffer is std::string, std::vector<std::uint8_t> or ByteBuffer (which is not cleared before the
// read fills it).
//
// The bytes of a file: a regular file in one read of its size, anything else (a pipe, a device)
// until it ends. Reading never creates anything: a missing file is an error.
template <typename Buffer>
Buffer ReadWholeFile(const std::filesystem::path& path);

// Everything an open descriptor (standard input) gives until it ends; `name` is for messages.
template <typename Buffer>
Buffer ReadToEnd(int descriptor, const std::filesystem::path& name);

// Writes all of `bytes` to an open descriptor (standard output); `name` is for messages.
void WriteAll(int descriptor, std::string_view bytes, const std::filesystem::path& name);

// Makes `bytes` the whole content of the file at `path`, atomically: they are written to a new
// file beside it, flushed to disk and renamed over it, so that `path` holds either its old
// content or all of the new, and nothing is left behind on failure. The file gets `permissions`
// when given; otherwise a file that exists keeps its permissions, and a new one gets those of
// any newly created file. The new file is named `path` + `siblingMark` + a random number, and
// stays so when the process dies before renaming it.
inline constexpr std::string_view kReplacementMark = ".tmp-";
void ReplaceFile(const std::filesystem::path& path, std::string_view bytes,
                 std::optional<std::filesystem::perms> permissions = std::nullopt,
                 std::string_view siblingMark = kReplacementMark);

// ReplaceFile for content written in pieces: the new file is created beside `path` at once,
// takes the pieces as they come, and replaces `path` on Commit. Destroyed without Commit (after
// a failure), it removes the new file and leaves `path` as it was.
class FileReplacement {
 public:
  explicit FileReplacement(const std::filesystem::path& path,
                           std::optional<std::filesystem::perms> permissions = std::nullopt,
                           std::string_view siblingMark = kReplacementMark);
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  void Write(std::string_view bytes);
  // Flushes the new file to disk and renames it over `path`.
  void Commit();

 private:
  std::filesystem::path path_;
  std::filesystem::path sibling_;
  int descriptor_ = -1;
};

// A FileReplacement whose failures to create or write the new file are kept until Commit raises
// them, so that the errors of the work that makes the content come first, as they would if the
// content were made in memory and written after.
class DeferredFileReplacement {
 public:
  explicit DeferredFileReplacement(const std::filesystem::path& path);

  void Write(std::string_view bytes);
  void Commit();

 private:
  std::optional<FileReplacement> file_;
  std::exception_ptr failure_;
};

// Reads a file from its start in pieces. Reading never creates anything: a missing file is an
// error.
class FileReader {
 public:
  explicit FileReader(const std::filesystem::path& path);
  ~FileReader();
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  // Reads up to `size` bytes into `data`: fewer only at the end of the file, none after it.
  std::size_t Read(char* data, std::size_t size);

 private:
  std::filesystem::path path_;
  int descriptor_;
};

extern template std::string ReadWholeFile<std::string>(const std::filesystem::path&);
extern template std::vector<std::uint8_t> ReadWholeFile<std::vector<std::uint8_t>>(
    const std::filesystem::path&);
extern template ByteBuffer ReadWholeFile<ByteBuffer>(const std::filesystem::path&);
extern template std::string ReadToEnd<std::string>(int, const std::filesystem::path&);
extern template ByteBuffer ReadToEnd<ByteBuffer>(int, const std::filesystem::path&);

}  // namespace penlark

#pragma once

#include <string>
#include <string_view>

// Whole-file reads and safe whole-file replacement, with failures raised as ConversionError.
namespace penlark {

// The bytes of a file, read in one go. Never creates anything: a missing file is an error.
std::string ReadWholeFile(const std::string& path);

// Every byte an open descriptor gives until its end (standard input); `name` is for messages.
std::string ReadAllFrom(int fd, const std::string& name);

// Writes all of `bytes` to an open descriptor (standard output); `name` is for messages.
void WriteAllTo(int fd, std::string_view bytes, const std::string& name);

// Replaces the file at `path` with `bytes`: they are written to a new file beside it, which is
// then renamed over it, so the old content stays whole if anything fails. An existing file
// keeps its permissions.
void ReplaceFile(const std::string& path, std::string_view bytes);

}  // namespace penlark

#pragma once

#include "platform/Files.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace penlark::testing {

// A fresh directory below the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // `name` is UTF-8 text, as all text in the program.
  std::filesystem::path operator/(std::string_view name) const { return path_ / Utf8Path(name); }

 private:
  std::filesystem::path path_;
};

void WriteFile(const std::filesystem::path& path, std::string_view content);
// The bytes of a file; nullopt when it cannot be read.
std::optional<std::string> ReadFile(const std::filesystem::path& path);

// Sets an environment variable for the life of the object, then restores it.
class ScopedEnv {
 public:
  ScopedEnv(std::string name, const std::string& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> previous_;
};

}  // namespace penlark::testing

#include "support/TempDir.h"

#include "platform/Files.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace penlark::testing {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "penlark-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot create a temporary directory");
  }
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void WriteFile(const std::filesystem::path& path, std::string_view content) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!file) {
    throw std::runtime_error("cannot write " + path.string());
  }
}

std::optional<std::string> ReadFile(const std::filesystem::path& path) {
  try {
    return ReadWholeFile<std::string>(path);
  } catch (const std::filesystem::filesystem_error&) {
    return std::nullopt;
  }
}

ScopedEnv::ScopedEnv(std::string name, const std::string& value) : name_(std::move(name)) {
  if (const char* old = std::getenv(name_.c_str())) {
    previous_ = old;
  }
  setenv(name_.c_str(), value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
  if (previous_) {
    setenv(name_.c_str(), previous_->c_str(), 1);
  } else {
    unsetenv(name_.c_str());
  }
}

}  // namespace penlark::testing

#include "support/TempDir.h"

#include "platform/Files.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <stdexcept>

namespace penlark::testing {
namespace {

// Sets the variable, or removes it without a value.
void SetEnvironment(const std::string& name, const std::optional<std::string>& value) {
#ifdef _WIN32
  _putenv_s(name.c_str(), value.value_or("").c_str());  // an empty value removes the variable
#else
  value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
#endif
}

}  // namespace

// A new folder of a random name, private to the user.
TempDir::TempDir() {
  std::mt19937_64 random(std::random_device{}());
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    const auto candidate = std::filesystem::temp_directory_path() /
                           ("penlark-test-" + std::to_string(random() % 1'000'000'000));
    if (std::filesystem::create_directory(candidate)) {
      std::filesystem::permissions(candidate, std::filesystem::perms::owner_all);
      path_ = candidate;
    }
  }
  if (path_.empty()) {
    throw std::runtime_error("cannot create a temporary directory");
  }
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void WriteFile(const std::filesystem::path& path, std::string_view content) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file.write(content.data(), static_cast<std::streamsize>(content.size()))) {
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
  SetEnvironment(name_, value);
}

ScopedEnv::~ScopedEnv() {
  SetEnvironment(name_, previous_);
}

}  // namespace penlark::testing

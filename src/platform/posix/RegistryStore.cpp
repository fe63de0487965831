#include "platform/Files.h"
#include "platform/Registry.h"

namespace penlark {
namespace {

constexpr std::string_view kLocalMachine = "HKEY_LOCAL_MACHINE\\";

std::optional<std::string> ReadFile(const std::filesystem::path& path) {
  try {
    return ReadWholeFile<std::string>(path);
  } catch (const std::filesystem::filesystem_error&) {
    return std::nullopt;
  }
}

}  // namespace

RegistryKey RegistryKey::OpenLocalMachine(std::string_view keyPath) {
  const auto content = ReadFile(RegistryFilePath());
  if (!content) {
    return {};
  }
  return Open(RegistryTree::Parse(*content), std::string(kLocalMachine) + std::string(keyPath));
}

}  // namespace penlark

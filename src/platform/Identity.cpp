#include "platform/Identity.h"

#include "platform/Utils.h"

#include <array>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace penlark {
namespace {

// The names are asked for into a buffer of this size, like the system calls they replace.
constexpr std::size_t kNameBufferSize = 512;

std::string CleanName(std::string_view name) {
  const auto first = name.find_first_not_of(' ');
  if (first == std::string_view::npos) {
    return {};
  }
  return TrimControlChars(name.substr(first, name.find_last_not_of(' ') - first + 1));
}

}  // namespace

std::string CurrentUserName() {
  passwd entry{};
  passwd* found = nullptr;
  std::vector<char> buffer(16384);
  if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
      found == nullptr || entry.pw_name == nullptr) {
    return {};
  }
  const std::string_view name(entry.pw_name);
  return CleanName(name.substr(0, kNameBufferSize - 1));
}

std::string CurrentComputerName() {
  std::array<char, kNameBufferSize> buffer{};
  if (gethostname(buffer.data(), buffer.size() - 1) != 0) {
    return {};
  }
  return ComputerNameOf(buffer.data());
}

std::string ComputerNameOf(std::string_view hostName) {
  return CleanName(hostName.substr(0, hostName.find('.')));
}

}  // namespace penlark

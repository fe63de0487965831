#include "platform/Identity.h"

#include <array>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace penlark {

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

}  // namespace penlark

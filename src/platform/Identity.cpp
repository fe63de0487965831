#include "platform/Identity.h"

#include "platform/Utils.h"

namespace penlark {

std::string CleanName(std::string_view name) {
  const auto first = name.find_first_not_of(' ');
  if (first == std::string_view::npos) {
    return {};
  }
  return TrimControlChars(name.substr(first, name.find_last_not_of(' ') - first + 1));
}

std::string ComputerNameOf(std::string_view hostName) {
  return CleanName(hostName.substr(0, hostName.find('.')));
}

}  // namespace penlark

#include "platform/PlainName.h"

#include "platform/Utils.h"

#include <algorithm>
#include <array>

namespace penlark {
namespace {

// Windows opens its devices under these names, whatever the extension: "nul.rtf" is NUL.
bool IsDeviceName(std::string_view name) {
  std::string_view stem = name.substr(0, name.find('.'));
  stem = stem.substr(0, stem.find_last_not_of(' ') + 1);
  constexpr std::array<std::string_view, 4> kDevices = {"CON", "PRN", "AUX", "NUL"};
  if (std::any_of(kDevices.begin(), kDevices.end(),
                  [&](std::string_view device) { return EqualsNoCase(stem, device); })) {
    return true;
  }
  return stem.size() == 4 &&
         (EqualsNoCase(stem.substr(0, 3), "COM") || EqualsNoCase(stem.substr(0, 3), "LPT")) &&
         stem[3] >= '1' && stem[3] <= '9';
}

}  // namespace

bool IsPlainName(std::string_view name) {
  if (name.empty() || name.ends_with('.') || name.ends_with(' ') || IsDeviceName(name)) {
    return false;
  }
  return std::none_of(name.begin(), name.end(), [](char c) {
    return std::string_view(R"(/\<>:"|?*)").find(c) != std::string_view::npos ||
           static_cast<unsigned char>(c) < 32 || c == 127;
  });
}

}  // namespace penlark

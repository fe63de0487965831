#include "platform/Identity.h"

#include "platform/windows/WideText.h"

#include <array>
#include <windows.h>

namespace penlark {

std::string CurrentUserName() {
  std::array<wchar_t, kNameBufferSize> buffer{};
  auto size = static_cast<DWORD>(buffer.size());
  if (!::GetUserNameW(buffer.data(), &size)) {
    return {};
  }
  return CleanName(ToUtf8(buffer.data()));
}

std::string CurrentComputerName() {
  std::array<wchar_t, kNameBufferSize> buffer{};
  auto size = static_cast<DWORD>(buffer.size());
  if (!::GetComputerNameW(buffer.data(), &size)) {
    return {};
  }
  return ComputerNameOf(ToUtf8(buffer.data()));
}

}  // namespace penlark

#include "platform/windows/WindowsShell.h"

#include "platform/windows/WideText.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

namespace penlark {

void WindowsShell::OpenWithDefaultHandler(const std::string& path) {
  ::ShellExecuteW(nullptr, nullptr, ToWide(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace penlark

#include "dialog/win32/Module.h"

#include <mutex>
#include <set>
#include <string>

namespace penlark::win32 {

HINSTANCE ThisModule() {
  static const HINSTANCE module = [] {
    HMODULE found = nullptr;
    ::GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&ThisModule), &found);
    return found;
  }();
  return module;
}

const wchar_t* WindowClass(const wchar_t* name, WNDPROC procedure) {
  static std::mutex mutex;
  static std::set<std::wstring> registered;
  const std::lock_guard lock(mutex);
  if (registered.insert(name).second) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ThisModule();
    windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = name;
    ::RegisterClassExW(&windowClass);
  }
  return name;
}

namespace {

// The activation context of this module's manifest (resource 2), made once.
HANDLE CommonControlsContext() {
  static const HANDLE context = [] {
    ACTCTXW request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.hModule = ThisModule();
    request.lpResourceName = MAKEINTRESOURCEW(2);
    return ::CreateActCtxW(&request);
  }();
  return context;
}

}  // namespace

CommonControlsScope::CommonControlsScope() {
  const HANDLE context = CommonControlsContext();
  active_ = context != INVALID_HANDLE_VALUE && ::ActivateActCtx(context, &cookie_);
}

CommonControlsScope::~CommonControlsScope() {
  if (active_) {
    ::DeactivateActCtx(0, cookie_);
  }
}

}  // namespace penlark::win32

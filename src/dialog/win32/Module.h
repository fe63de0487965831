#pragma once

#include <windows.h>

// The module that holds the dialog's code and pictures (penlark.dll, or a program linked with the
// view), and the window classes registered for it.
namespace penlark::win32 {

HINSTANCE ThisModule();

// Registers a window class of this module once per process; returns its name.
const wchar_t* WindowClass(const wchar_t* name, WNDPROC procedure);

// While alive, the windows this thread creates use version 6 of the common controls, as this
// module's manifest asks, whatever the manifest of the program that loaded it says.
class CommonControlsScope {
 public:
  CommonControlsScope();
  ~CommonControlsScope();
  CommonControlsScope(const CommonControlsScope&) = delete;
  CommonControlsScope& operator=(const CommonControlsScope&) = delete;

 private:
  ULONG_PTR cookie_ = 0;
  bool active_ = false;
};

}  // namespace penlark::win32

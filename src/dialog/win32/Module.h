#pragma once

#include <windows.h>

// The module that holds the dialog's code and pictures (penlark.dll, or a program linked with the
// view), and the window classes registered for it.
namespace penlark::win32 {

HINSTANCE ThisModule();

// Registers a window class of this module once per process; returns its name.
const wchar_t* WindowClass(const wchar_t* name, WNDPROC procedure);

}  // namespace penlark::win32

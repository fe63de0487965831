#pragma once

#include <functional>
#include <windows.h>

// Modal showing on Win32: the window shown over its owner, which is disabled meanwhile, and the
// thread's messages run in a nested loop (with the dialog keys: Tab, Enter, Escape, mnemonics)
// until `done` holds. `intercept` sees each message first and returns true for those it handled.
namespace penlark::win32 {

void RunModal(HWND window, const std::function<bool()>& done,
              const std::function<bool(const MSG&)>& intercept = {});

// Places a window in the middle of its owner, or of the screen's work area when it has none.
void CentreOnOwner(HWND window);

}  // namespace penlark::win32

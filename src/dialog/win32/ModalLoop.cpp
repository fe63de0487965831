#include "dialog/win32/ModalLoop.h"

namespace penlark::win32 {

void CentreOnOwner(HWND window) {
  RECT area{};
  const HWND owner = ::GetWindow(window, GW_OWNER);
  if (owner == nullptr || !::IsWindowVisible(owner) || !::GetWindowRect(owner, &area)) {
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  }
  RECT own{};
  ::GetWindowRect(window, &own);
  const int width = own.right - own.left;
  const int height = own.bottom - own.top;
  ::SetWindowPos(window, nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void RunModal(HWND window, const std::function<bool()>& done,
              const std::function<bool(const MSG&)>& intercept) {
  const HWND owner = ::GetWindow(window, GW_OWNER);
  const bool ownerWasEnabled = owner != nullptr && ::EnableWindow(owner, FALSE) == 0;
  ::ShowWindow(window, SW_SHOW);
  ::SetForegroundWindow(window);
  MSG message{};
  while (!done()) {
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) {
        ::PostQuitMessage(static_cast<int>(message.wParam));
      }
      break;
    }
    if (intercept && intercept(message)) {
      continue;
    }
    if (!::IsDialogMessageW(window, &message)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }
  // The owner first, so that it is activated when the window goes.
  if (ownerWasEnabled) {
    ::EnableWindow(owner, TRUE);
  }
  ::ShowWindow(window, SW_HIDE);
}

}  // namespace penlark::win32

#include "dialog/win32/ImageButtonWindow.h"

#include "dialog/Twips.h"
#include "dialog/win32/Module.h"

#include <windowsx.h>

namespace penlark::win32 {

int ButtonCode(WPARAM keys) {
  return ((keys & MK_LBUTTON) != 0 ? 1 : 0) | ((keys & MK_RBUTTON) != 0 ? 2 : 0) |
         ((keys & MK_MBUTTON) != 0 ? 4 : 0);
}

int ShiftCode(WPARAM keys) {
  return ((keys & MK_SHIFT) != 0 ? 1 : 0) | ((keys & MK_CONTROL) != 0 ? 2 : 0) |
         (::GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

MouseEventArgs MouseArgs(int button, WPARAM keys, LPARAM position, double dpi) {
  return {button, ShiftCode(keys), ToTwips(GET_X_LPARAM(position), dpi),
          ToTwips(GET_Y_LPARAM(position), dpi)};
}

ImageButtonWindow::ImageButtonWindow(double dpi, Handler onDown, Handler onMove, Handler onUp)
    : dpi_(dpi), onDown_(std::move(onDown)), onMove_(std::move(onMove)), onUp_(std::move(onUp)) {}

ImageButtonWindow* ImageButtonWindow::Create(HWND container, int id, double dpi, Handler onDown,
                                             Handler onMove, Handler onUp) {
  auto* button = new ImageButtonWindow(dpi, std::move(onDown), std::move(onMove), std::move(onUp));
  ::CreateWindowExW(0, WindowClass(L"PenlarkImageButton", Procedure), L"",
                    WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS, 0, 0, 0, 0, container,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ThisModule(), button);
  return button;
}

ImageButtonWindow* ImageButtonWindow::Of(HWND window) {
  return reinterpret_cast<ImageButtonWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

void ImageButtonWindow::SetPicture(HBITMAP picture) {
  if (picture != picture_) {
    picture_ = picture;
    ::InvalidateRect(window_, nullptr, TRUE);
  }
}

void ImageButtonWindow::ClickFromKeyboard() {
  RECT client{};
  ::GetClientRect(window_, &client);
  const MouseEventArgs middle{1, 0, ToTwips(client.right / 2.0, dpi_),
                              ToTwips(client.bottom / 2.0, dpi_)};
  onDown_(middle);
  onUp_(middle);
}

LRESULT CALLBACK ImageButtonWindow::Procedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* button =
        static_cast<ImageButtonWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    button->window_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(button));
  }
  ImageButtonWindow* button = Of(window);
  if (button == nullptr) {
    return ::DefWindowProcW(window, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    delete button;
    return ::DefWindowProcW(window, message, wParam, lParam);
  }
  return button->Handle(message, wParam, lParam);
}

LRESULT ImageButtonWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      ::SetCapture(window_);
      onDown_(MouseArgs(message == WM_LBUTTONDOWN ? 1 : 2, wParam, lParam, dpi_));
      return 0;
    case WM_MOUSEMOVE:
      onMove_(MouseArgs(ButtonCode(wParam), wParam, lParam, dpi_));
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      ::ReleaseCapture();
      onUp_(MouseArgs(message == WM_LBUTTONUP ? 1 : 2, wParam, lParam, dpi_));
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE) {
        ClickFromKeyboard();
        return 0;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      ::InvalidateRect(window_, nullptr, TRUE);
      return 0;
    case WM_ERASEBKGND: {
      // The container's colour, as it gives it to its static controls.
      RECT client{};
      ::GetClientRect(window_, &client);
      const auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(
          ::GetParent(window_), WM_CTLCOLORSTATIC, wParam, reinterpret_cast<LPARAM>(window_)));
      ::FillRect(reinterpret_cast<HDC>(wParam), &client,
                 brush != nullptr ? brush : ::GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_PAINT:
      Paint();
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window_, message, wParam, lParam);
}

void ImageButtonWindow::Paint() {
  PAINTSTRUCT paint{};
  const HDC dc = ::BeginPaint(window_, &paint);
  RECT client{};
  ::GetClientRect(window_, &client);
  BITMAP size{};
  if (picture_ != nullptr && ::GetObjectW(picture_, sizeof size, &size) != 0) {
    const HDC source = ::CreateCompatibleDC(dc);
    const HGDIOBJ old = ::SelectObject(source, picture_);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::GdiAlphaBlend(dc, (client.right - size.bmWidth) / 2, (client.bottom - size.bmHeight) / 2,
                    size.bmWidth, size.bmHeight, source, 0, 0, size.bmWidth, size.bmHeight, blend);
    ::SelectObject(source, old);
    ::DeleteDC(source);
  }
  if (::GetFocus() == window_) {
    ::DrawFocusRect(dc, &client);
  }
  ::EndPaint(window_, &paint);
}

}  // namespace penlark::win32

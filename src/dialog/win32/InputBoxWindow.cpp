#include "dialog/win32/InputBoxWindow.h"

#include "dialog/win32/ModalLoop.h"
#include "dialog/win32/Module.h"
#include "platform/windows/WideText.h"

namespace penlark::win32 {
namespace {

// Sizes in pixels at 96 dots per inch.
constexpr int kWidth = 380;
constexpr int kHeight = 130;
constexpr int kMargin = 10;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 24;
constexpr int kFieldHeight = 22;
constexpr int kPromptHeight = 40;

// A child's place: left, top, width and height.
struct Place {
  int left;
  int top;
  int width;
  int height;
};

struct InputBox {
  HWND field = nullptr;
  bool done = false;
  std::optional<std::string> answer;
};

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    ::SetWindowLongPtrW(
        window, GWLP_USERDATA,
        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  }
  auto* box = reinterpret_cast<InputBox*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (box != nullptr && message == WM_COMMAND &&
      (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    if (LOWORD(wParam) == IDOK) {
      std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(box->field)) + 1, L'\0');
      text.resize(std::size_t(::GetWindowTextW(box->field, text.data(), int(text.size()))));
      box->answer = ToUtf8(text);
    }
    box->done = true;
    return 0;
  }
  if (box != nullptr && message == WM_CLOSE) {
    box->done = true;
    return 0;
  }
  if (message == DM_GETDEFID) {
    return MAKELRESULT(IDOK, DC_HASDEFID);
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

std::optional<std::string> AskText(HWND owner, const InputRequest& request) {
  const CommonControlsScope commonControls;
  const HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
  ::ReleaseDC(nullptr, screen);
  const auto scale = [dpi](int pixels) { return ::MulDiv(pixels, dpi, 96); };
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  const HFONT font = ::CreateFontIndirectW(&metrics.lfMessageFont);

  InputBox box;
  constexpr DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  constexpr DWORD extendedStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  RECT frame{0, 0, scale(kWidth), scale(kHeight)};
  ::AdjustWindowRectEx(&frame, style, FALSE, extendedStyle);
  const HWND window =
      ::CreateWindowExW(extendedStyle, WindowClass(L"PenlarkInputBox", Procedure),
                        ToWide(request.title).c_str(), style, 0, 0, frame.right - frame.left,
                        frame.bottom - frame.top, owner, nullptr, ThisModule(), &box);
  const auto child = [&](const wchar_t* windowClass, const std::string& text, DWORD childStyle,
                         DWORD childExtended, int id, Place place) {
    const HWND created = ::CreateWindowExW(
        childExtended, windowClass, ToWide(text).c_str(), WS_CHILD | WS_VISIBLE | childStyle,
        scale(place.left), scale(place.top), scale(place.width), scale(place.height), window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ThisModule(), nullptr);
    ::SendMessageW(created, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return created;
  };
  const int fieldWidth = kWidth - 2 * kMargin;
  const int buttonsTop = kHeight - kMargin - kButtonHeight;
  child(L"STATIC", request.prompt, SS_LEFT, 0, -1,
        {kMargin, kMargin, fieldWidth - kButtonWidth - kMargin, kPromptHeight});
  box.field = child(L"EDIT", request.defaultText, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 3,
                    {kMargin, buttonsTop - kMargin - kFieldHeight, fieldWidth, kFieldHeight});
  child(L"BUTTON", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, IDOK,
        {kWidth - kMargin - kButtonWidth, kMargin, kButtonWidth, kButtonHeight});
  child(
      L"BUTTON", "Cancel", WS_TABSTOP | BS_PUSHBUTTON, 0, IDCANCEL,
      {kWidth - kMargin - kButtonWidth, 2 * kMargin + kButtonHeight, kButtonWidth, kButtonHeight});
  CentreOnOwner(window);
  ::SetFocus(box.field);
  ::SendMessageW(box.field, EM_SETSEL, 0, -1);
  RunModal(window, [&box] { return box.done; });
  ::DestroyWindow(window);
  ::DeleteObject(font);
  return box.answer;
}

}  // namespace penlark::win32

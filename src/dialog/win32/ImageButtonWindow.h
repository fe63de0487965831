#pragma once

#include "dialog/ControlTable.h"

#include <functional>
#include <windows.h>

// An image used as a button: draws the picture it is given, centred, on its container's colour,
// and reports the mouse in the terms of the dialog's handlers (button and shift codes, position in
// twips relative to the control). While a mouse button is down it keeps the mouse, also outside
// itself. Space clicks it from the keyboard.
namespace penlark::win32 {

// The codes of the dialog's mouse events, from a mouse message's key flags.
int ButtonCode(WPARAM keys);
int ShiftCode(WPARAM keys);
// A mouse message's position in twips.
MouseEventArgs MouseArgs(int button, WPARAM keys, LPARAM position, double dpi);

class ImageButtonWindow {
 public:
  using Handler = MouseEventHandler;

  // A child window of `container`; the object lives as long as the window.
  static ImageButtonWindow* Create(HWND container, int id, double dpi, Handler onDown,
                                   Handler onMove, Handler onUp);

  // The object of a window of this class.
  static ImageButtonWindow* Of(HWND window);

  HWND Window() const { return window_; }
  void SetPicture(HBITMAP picture);
  // A press and release in the middle of the button, for the keyboard.
  void ClickFromKeyboard();

 private:
  ImageButtonWindow(double dpi, Handler onDown, Handler onMove, Handler onUp);
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();

  HWND window_ = nullptr;
  double dpi_;
  HBITMAP picture_ = nullptr;
  Handler onDown_;
  Handler onMove_;
  Handler onUp_;
};

}  // namespace penlark::win32

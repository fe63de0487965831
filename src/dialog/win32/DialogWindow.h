#pragma once

#include "dialog/ControlTable.h"
#include "dialog/Controls.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>
#include <windows.h>

// The windows of the dialog and their wiring, built from the table of controls: a top-level window
// holding a tab control, the two frames and the controls, each child window carrying the control
// it shows. Colours come from the model: a control without a colour of its own shows its
// container's.
namespace penlark {
class OpenDialog;
}

namespace penlark::win32 {

// What a macro is told when the dialog cannot have a window.
inline constexpr const char* kNoWindow =
    "The Open/Save dialog cannot be shown: Windows could not create its window.";

class DialogWindow {
 public:
  // `dispatch` runs a handler of the dialog and draws the window again. Throws kNoWindow when there
  // is no desktop to create the window on.
  DialogWindow(const OpenDialog& design, Dispatcher dispatch);
  ~DialogWindow();
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

  HWND Window() const { return window_; }
  // The window that shows the control of this name of the table of controls; nullptr for none.
  HWND ControlWindow(std::string_view name) const;
  // Draws the controls as the dialog holds them.
  void Draw(const OpenDialog& dialog);
  // Shows the view menu at a point of the form (twips); the chosen item's handler, if any, has
  // run when it returns.
  void PopupViewMenu(OpenDialog& dialog, int x, int y);
  // Shows the window modally, centred over the active window, until `done` holds.
  void ShowModal(const std::function<bool()>& done);
  // Takes the window down.
  void End();

 private:
  friend class WidgetBuilder;
  // A window of the table of controls: how it draws its control and how it forwards its events.
  struct Bound {
    const char* name = nullptr;
    HWND window = nullptr;
    std::function<const Control&(const OpenDialog&)> control;
    std::function<void(const OpenDialog&)> draw;
    std::function<void(int code)> command;
    std::function<void(const NMHDR& header)> notify;
  };

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ListProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR self);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Notify(const NMHDR& header);
  HBRUSH ColorOf(HWND window, HDC dc);
  HBRUSH Brush(Color color);

  HWND CreateChild(const wchar_t* windowClass, DWORD style, DWORD extendedStyle, HWND container);
  void ReadScreenMetrics();
  void BuildTabStrip(const OpenDialog& design);
  void BuildControls(const OpenDialog& design);
  void BuildMenuBar(const OpenDialog& design);
  void BuildList(const ListViewControl& design, HWND container);
  void BuildTips();
  void DrawControl(HWND window, const Control& control);
  void DrawColor(HWND window, std::optional<Color> color);
  void DrawList(const ListViewControl& list);
  void DrawFocus(const OpenDialog& dialog);
  void ClickImageFromKeyboard(const char* name);
  RECT Place(const Rect& rect) const;

  Dispatcher dispatch_;
  double dpi_;
  HWND window_ = nullptr;
  HFONT font_ = nullptr;
  HMENU menuBar_ = nullptr;
  HWND tabStrip_ = nullptr;
  HWND list_ = nullptr;
  HWND tips_ = nullptr;
  std::vector<std::wstring> tabTips_;
  std::map<HWND, std::wstring> controlTips_;
  std::vector<Bound> bound_;
  Color formColor_;
  std::map<HWND, Color> colors_;
  std::map<COLORREF, HBRUSH> brushes_;
  std::vector<ListItem> listShown_;
  std::optional<ListViewMode> modeShown_;
  int defaultButton_ = 0;
  int focusDrawn_ = 0;
  bool drawing_ = false;
};

}  // namespace penlark::win32

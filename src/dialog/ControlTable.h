#pragma once

#include "dialog/OpenDialog.h"

#include <functional>
#include <span>
#include <variant>

// The form's controls, each named once: the table from which a view builds a widget for every
// control, names it as the control, places it in its container and draws the control's state on it.
namespace penlark {

template <typename ControlType>
using Field = ControlType OpenDialog::*;
using ClickHandler = void (OpenDialog::*)();
using MouseHandler = void (OpenDialog::*)(int button, int shift, double x, double y);

// The kinds of widgets, with what each needs beyond its control.
struct FrameRow {
  Field<Frame> control;
};
struct LabelRow {
  Field<Label> control;
  const char* buddy;  // the field its accelerator reaches
};
struct TextRow {
  Field<TextBox> control;
  const char* accessibleName;
};
struct CheckRow {
  Field<CheckBox> control;
};
struct ButtonRow {
  Field<CommandButton> control;
  ClickHandler click;
};
struct ServerComboRow {
  Field<ComboBox> control;
  const char* accessibleName;
};
struct FolderComboRow {
  Field<ImageComboBox> control;
  const char* accessibleName;
};
struct ListRow {
  Field<ListViewControl> control;
};
// The picture lists of the image buttons.
enum class PictureList { Changes, Props };

// An image button: its picture list, and the handlers of its mouse events (no MouseUp for Views).
struct PictureRow {
  Field<ImageButton> control;
  PictureList pictures;
  MouseHandler down;
  MouseHandler move;
  MouseHandler up;
};
// A mouse event in the terms of the dialog's handlers: button and shift codes, the position in
// twips relative to the control.
struct MouseEventArgs {
  int button = 0;
  int shift = 0;
  double x = 0;
  double y = 0;
};
using MouseEventHandler = std::function<void(const MouseEventArgs&)>;
// Runs a handler of the dialog for an event and draws the window again: what a view does with
// every event.
using Dispatcher = std::function<void(const std::function<void(OpenDialog&)>&)>;

// An image button's mouse events, each dispatching the row's handler; one without a handler is
// ignored.
struct ImageButtonEvents {
  MouseEventHandler down;
  MouseEventHandler move;
  MouseEventHandler up;
};
ImageButtonEvents ForwardMouseEvents(const PictureRow& row, const Dispatcher& dispatch);

// The image that draws only a line between the buttons.
struct LineRow {
  Field<ImageButton> control;
};

using WidgetKind = std::variant<FrameRow, LabelRow, TextRow, CheckRow, ButtonRow, ServerComboRow,
                                FolderComboRow, ListRow, PictureRow, LineRow>;

struct WidgetRow {
  const char* name;       // the control's name, the widget's object name
  const char* container;  // the frame that holds it, or nullptr for the form
  WidgetKind kind;
};

// In the order of the keyboard's tab order; every container before what it holds.
std::span<const WidgetRow> WidgetRows();

// The view menu's items, in their order in the menu.
struct ViewMenuRow {
  const char* name;
  Field<MenuItem> item;
  ClickHandler click;
};
std::span<const ViewMenuRow> ViewMenuRows();

}  // namespace penlark

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The state of the dialog's controls as plain data: what a view draws and what the handlers
// read and write. Positions and sizes are in twips (1/1440 inch), relative to the control's
// container, as the form is designed.
namespace penlark {

struct Rect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;

  // Whether a point in the control's own coordinates lies on it, edges included.
  bool Contains(double x, double y) const { return x >= 0 && x <= Width && y >= 0 && y <= Height; }
};

struct Color {
  std::uint8_t Red = 0;
  std::uint8_t Green = 0;
  std::uint8_t Blue = 0;

  bool operator==(const Color&) const = default;
};

// Mouse buttons and shift keys of mouse events.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;

struct Control {
  Rect Position;
  bool Enabled = true;
  bool Visible = true;
  std::string ToolTipText;
};

struct Label : Control {
  std::string Caption;
  std::optional<Color> BackColor;  // none: the container's colour
};

struct CommandButton : Control {
  std::string Caption;
  std::optional<Color> BackColor;
};

struct TextBox : Control {
  std::string Text;
  char PasswordChar = '\0';  // when set, every character is shown as this one
  bool Locked = false;
};

struct CheckBox : Control {
  std::string Caption;
  bool Value = false;
};

// An editable combo box: a text field with a drop-down list.
struct ComboBox : Control {
  std::string Text;
  std::vector<std::string> Items;
  int ListIndex = -1;  // the chosen list item, -1 for none
};

// The folder trail: items with a selection, the selected item shown in the field.
struct ImageComboBox : Control {
  std::vector<std::string> Items;
  int SelectedIndex = -1;  // 0-based; -1 when no item is selected
  std::string Text;

  bool HasSelection() const {
    return SelectedIndex >= 0 && SelectedIndex < static_cast<int>(Items.size());
  }
  const std::string& SelectedText() const { return Items[static_cast<std::size_t>(SelectedIndex)]; }
  void Clear() {
    Items.clear();
    SelectedIndex = -1;
    Text.clear();
  }
  void Select(int index) {
    SelectedIndex = index;
    Text = SelectedText();
  }
};

// An image used as a button: its picture is a 1-based number in its picture list.
struct ImageButton : Control {
  int Picture = 0;
};

struct Frame : Control {
  std::optional<Color> BackColor;
};

struct Tab {
  std::string Caption;
  std::string ToolTipText;
};

struct TabStripControl : Control {
  std::vector<Tab> Tabs;
  int SelectedTab = 1;             // 1-based
  std::optional<Color> BackColor;  // the area around the tabs
};

struct ListItem {
  std::string Text;
  int Icon = 0;       // picture of the large icon list
  int SmallIcon = 0;  // picture of the small icon list

  bool operator==(const ListItem&) const = default;
};

struct ColumnHeader {
  std::string Text;
  int Width = 0;  // twips
};

enum class ListViewMode { Icons = 0, SmallIcons = 1, List = 2, Report = 3 };

struct ListViewControl : Control {
  std::vector<ListItem> Items;
  int SelectedIndex = -1;  // 0-based; -1 when no item is selected
  ListViewMode View = ListViewMode::Icons;
  std::vector<ColumnHeader> Columns;
  bool LabelEdit = false;  // names are never edited in place

  bool HasSelection() const {
    return SelectedIndex >= 0 && SelectedIndex < static_cast<int>(Items.size());
  }
};

struct MenuItem {
  std::string Caption;
  bool Checked = false;
  bool Visible = true;
  bool Enabled = true;
};

}  // namespace penlark

#pragma once

#include "dialog/ControlTable.h"
#include "dialog/Controls.h"

#include <functional>
#include <optional>
#include <vector>

#include <QDialog>

class QFrame;
class QListView;
class QMenu;
class QMenuBar;
class QStackedWidget;
class QTabBar;
class QTreeView;

// The widgets of the dialog and their wiring, built from the table of controls. Each widget
// carries the name of the control it shows as its object name.
namespace penlark {
class OpenDialog;
}

namespace penlark::qt {

class FileListModel;

class DialogWindow final : public QDialog {
 public:
  // `dispatch` runs a handler of the dialog and draws the window again.
  DialogWindow(const OpenDialog& design, Dispatcher dispatch);
  ~DialogWindow() override;

  // Draws the controls as the dialog holds them.
  void Draw(const OpenDialog& dialog);
  // Shows the view menu at a point of the form (twips); the chosen item's handler, if any, has
  // run when it returns.
  void PopupViewMenu(OpenDialog& dialog, int x, int y);
  // Shows the window modally until End is called.
  void ShowModal(const std::function<bool()>& /*done*/) { exec(); }
  // Takes the window down and ends a modal showing.
  void End() { done(QDialog::Accepted); }

 protected:
  void reject() override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class WidgetBuilder;
  // A widget of the table of controls, and how it draws its control.
  struct Bound {
    QWidget* widget;
    std::function<const Control&(const OpenDialog&)> control;
    std::function<void(const OpenDialog&)> draw;
  };

  void BuildTabStrip(const OpenDialog& design);
  void BuildList(const ListViewControl& design, QWidget* container);
  void BuildMenus(const OpenDialog& design);
  void WireKeyboard();
  void DrawFocus(const OpenDialog& dialog);
  void DrawList(const ListViewControl& list);
  void ShowMode(ListViewMode mode);
  // Presses and releases an image button from the keyboard, when it is enabled.
  void ClickImageFromKeyboard(const char* name);
  bool IsList(const QObject* object) const;
  template <typename Widget>
  Widget* Child(const char* name) const;
  QRect Place(const Rect& rect) const;

  Dispatcher dispatch_;
  double dpi_;
  std::optional<ListViewMode> shownMode_;
  int focusDrawn_ = 0;
  std::vector<Bound> bound_;

  QTabBar* tabStrip_ = nullptr;
  QFrame* tabPage_ = nullptr;
  QStackedWidget* listStack_ = nullptr;
  QListView* listView_ = nullptr;
  QTreeView* reportView_ = nullptr;
  FileListModel* listModel_ = nullptr;
  QMenuBar* menuBar_ = nullptr;
  QMenu* menuPopup_ = nullptr;
};

}  // namespace penlark::qt

#pragma once

#include "dialog/Controls.h"

#include <functional>
#include <optional>

#include <QDialog>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QMenuBar;
class QPushButton;
class QStackedWidget;
class QTabBar;
class QTreeView;
class QAction;

// The widgets of the dialog and their wiring. Each widget carries the name of the control it
// shows as its object name.
namespace penlark {
class OpenDialog;
}

namespace penlark::qt {

class FileListModel;
class ImageButtonWidget;

class DialogWindow final : public QDialog {
 public:
  using Dispatcher = std::function<void(const std::function<void(OpenDialog&)>&)>;

  // `dispatch` runs a handler of the dialog and draws the window again.
  DialogWindow(const OpenDialog& design, Dispatcher dispatch);
  ~DialogWindow() override;

  // Draws the controls as the dialog holds them.
  void Draw(const OpenDialog& dialog);
  // Shows the view menu at a point of the form (twips); the chosen item's handler, if any, has
  // run when it returns.
  void PopupViewMenu(OpenDialog& dialog, int x, int y);

 protected:
  void reject() override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildConnectionFrame(const OpenDialog& design);
  void BuildFileFrame(const OpenDialog& design);
  void BuildButtonsAndMenus(const OpenDialog& design);
  void WireKeyboard();
  void DrawConnectionFrame(const OpenDialog& dialog);
  void DrawFileFrame(const OpenDialog& dialog);
  void DrawList(const OpenDialog& dialog);
  void ShowMode(ListViewMode mode);
  // Presses and releases an image button from the keyboard, when it is enabled.
  void ClickImageFromKeyboard(ImageButtonWidget* button);
  QRect Place(const Rect& rect) const;

  Dispatcher dispatch_;
  double dpi_;
  std::optional<ListViewMode> shownMode_;
  int focusDrawn_ = 0;

  QTabBar* tabStrip_ = nullptr;
  QFrame* tabPage_ = nullptr;
  QFrame* connectionFrame_ = nullptr;
  QLabel* urlDomainLabel_ = nullptr;
  QComboBox* urlDomainCombo_ = nullptr;
  QLabel* usernameLabel_ = nullptr;
  QLineEdit* usernameText_ = nullptr;
  QLabel* passwordLabel_ = nullptr;
  QLineEdit* passwordText_ = nullptr;
  QCheckBox* savePwdCheck_ = nullptr;
  QPushButton* logInButton_ = nullptr;
  QLineEdit* connectionText_ = nullptr;

  QFrame* openFileFrame_ = nullptr;
  QLabel* lookInLabel_ = nullptr;
  QComboBox* imageCombo_ = nullptr;
  ImageButtonWidget* reloadImage_ = nullptr;
  ImageButtonWidget* upOneLevelImage_ = nullptr;
  ImageButtonWidget* deleteImage_ = nullptr;
  ImageButtonWidget* createFolderImage_ = nullptr;
  ImageButtonWidget* propsImage_ = nullptr;
  QFrame* lineImage_ = nullptr;
  QStackedWidget* listStack_ = nullptr;
  QListView* listView_ = nullptr;
  QTreeView* reportView_ = nullptr;
  FileListModel* listModel_ = nullptr;
  QLabel* filenameLabel_ = nullptr;
  QLineEdit* filenameText_ = nullptr;

  QPushButton* openButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QMenuBar* menuBar_ = nullptr;
  QMenu* menuData_ = nullptr;
  QMenu* menuPopup_ = nullptr;
  QAction* menuIcons_ = nullptr;
  QAction* menuSmallIcons_ = nullptr;
  QAction* menuList_ = nullptr;
  QAction* menuReport_ = nullptr;
};

}  // namespace penlark::qt

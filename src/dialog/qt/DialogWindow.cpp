#include "dialog/qt/DialogWindow.h"

#include "dialog/OpenDialog.h"
#include "dialog/qt/Artwork.h"
#include "dialog/qt/FileListModel.h"
#include "dialog/qt/ImageButtonWidget.h"
#include "dialog/qt/Twips.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QTabBar>
#include <QTreeView>

namespace penlark::qt {
namespace {

QString ToQString(const std::string& text) {
  return QString::fromStdString(text);
}

QColor ToQColor(const Color& color) {
  return {color.Red, color.Green, color.Blue};
}

// Gives a widget a background colour of its own, or the one it inherits.
void Paint(QWidget* widget, const std::optional<Color>& color, QPalette::ColorRole role) {
  if (!color) {
    return;
  }
  const QColor wanted = ToQColor(*color);
  if (widget->palette().color(role) == wanted && widget->autoFillBackground()) {
    return;
  }
  QPalette palette = widget->palette();
  palette.setColor(role, wanted);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

template <typename Widget>
Widget* Named(Widget* widget, const char* controlName, const QString& accessibleName = {}) {
  widget->setObjectName(QString::fromLatin1(controlName));
  if (!accessibleName.isEmpty()) {
    widget->setAccessibleName(accessibleName);
  }
  return widget;
}

void SetText(QLineEdit* edit, const std::string& text) {
  const QString wanted = ToQString(text);
  if (edit->text() != wanted) {
    edit->setText(wanted);
  }
}

void SetItems(QComboBox* combo, const std::vector<std::string>& items) {
  QStringList wanted;
  for (const std::string& item : items) {
    wanted << ToQString(item);
  }
  QStringList shown;
  for (int i = 0; i < combo->count(); ++i) {
    shown << combo->itemText(i);
  }
  if (shown != wanted) {
    combo->clear();
    combo->addItems(wanted);
  }
}

void DrawControl(QWidget* widget, const Control& control) {
  widget->setEnabled(control.Enabled);
  widget->setVisible(control.Visible);
  widget->setToolTip(ToQString(control.ToolTipText));
}

// The names screen readers give the image buttons.
QString AccessibleName(const ImageButton& button) {
  return ToQString(button.ToolTipText);
}

}  // namespace

DialogWindow::DialogWindow(const OpenDialog& design, Dispatcher dispatch)
    : dispatch_(std::move(dispatch)), dpi_(logicalDpiX()) {
  setObjectName(QStringLiteral("OpenDialog"));
  setModal(true);
  setFixedSize(Place(design.Position).size());

  tabStrip_ = Named(new QTabBar(this), "TabStrip", tr("Tabs"));
  for (const Tab& tab : design.TabStrip.Tabs) {
    const int index = tabStrip_->addTab(ToQString(tab.Caption));
    tabStrip_->setTabToolTip(index, ToQString(tab.ToolTipText));
  }
  const QRect strip = Place(design.TabStrip.Position);
  const QRect page = Place(design.ConnectionFrame.Position);
  tabStrip_->setGeometry(strip.left(), strip.top(), strip.width(), page.top() - strip.top());
  tabStrip_->setDrawBase(false);
  tabPage_ = new QFrame(this);
  tabPage_->setFrameShape(QFrame::StyledPanel);
  tabPage_->setGeometry(strip.left(), page.top() - 1, strip.width(), strip.bottom() - page.top());
  connect(tabStrip_, &QTabBar::currentChanged, this, [this](int index) {
    dispatch_([index](OpenDialog& dialog) { dialog.SelectTab(index + 1); });
  });

  BuildConnectionFrame(design);
  BuildFileFrame(design);
  BuildButtonsAndMenus(design);
  WireKeyboard();
}

DialogWindow::~DialogWindow() = default;

QRect DialogWindow::Place(const Rect& rect) const {
  return ToPixels(rect, dpi_);
}

void DialogWindow::BuildConnectionFrame(const OpenDialog& design) {
  connectionFrame_ = Named(new QFrame(this), "ConnectionFrame");
  connectionFrame_->setGeometry(Place(design.ConnectionFrame.Position));

  urlDomainLabel_ = Named(new QLabel(connectionFrame_), "UrlDomainLabel");
  urlDomainCombo_ = Named(new QComboBox(connectionFrame_), "UrlDomainCombo", tr("Server"));
  urlDomainCombo_->setEditable(true);
  urlDomainCombo_->setInsertPolicy(QComboBox::NoInsert);
  urlDomainLabel_->setBuddy(urlDomainCombo_);
  connect(urlDomainCombo_->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
    dispatch_([text](OpenDialog& dialog) {
      dialog.UrlDomainCombo.Text = text.toStdString();
      dialog.UrlDomainCombo.ListIndex = -1;
    });
  });
  connect(urlDomainCombo_, &QComboBox::activated, this, [this](int index) {
    const std::string text = urlDomainCombo_->itemText(index).toStdString();
    dispatch_([index, text](OpenDialog& dialog) {
      dialog.UrlDomainCombo.ListIndex = index;
      dialog.UrlDomainCombo.Text = text;
      dialog.UrlDomainCombo_Click();
    });
  });
  urlDomainCombo_->lineEdit()->installEventFilter(this);

  usernameLabel_ = Named(new QLabel(connectionFrame_), "UsernameLabel");
  usernameText_ = Named(new QLineEdit(connectionFrame_), "UsernameText", tr("Username"));
  usernameLabel_->setBuddy(usernameText_);
  connect(usernameText_, &QLineEdit::textEdited, this, [this](const QString& text) {
    dispatch_([text](OpenDialog& dialog) { dialog.UsernameText.Text = text.toStdString(); });
  });

  passwordLabel_ = Named(new QLabel(connectionFrame_), "PasswordLabel");
  passwordText_ = Named(new QLineEdit(connectionFrame_), "PasswordText", tr("Password"));
  passwordLabel_->setBuddy(passwordText_);
  passwordText_->setEchoMode(QLineEdit::Password);
  passwordText_->setStyleSheet(QStringLiteral("lineedit-password-character: %1")
                                   .arg(static_cast<int>(design.PasswordText.PasswordChar)));
  connect(passwordText_, &QLineEdit::textEdited, this, [this](const QString& text) {
    dispatch_([text](OpenDialog& dialog) { dialog.PasswordText.Text = text.toStdString(); });
  });

  savePwdCheck_ = Named(new QCheckBox(connectionFrame_), "SavePwdCheck");
  connect(savePwdCheck_, &QCheckBox::clicked, this, [this](bool checked) {
    dispatch_([checked](OpenDialog& dialog) { dialog.SavePwdCheck.Value = checked; });
  });

  logInButton_ = Named(new QPushButton(connectionFrame_), "LogInButton");
  connect(logInButton_, &QPushButton::clicked, this,
          [this] { dispatch_([](OpenDialog& dialog) { dialog.LogInButton_Click(); }); });

  connectionText_ = Named(new QLineEdit(connectionFrame_), "ConnectionText", tr("Connection"));
  connectionText_->setReadOnly(true);

  const std::pair<QWidget*, const Control*> placed[] = {
      {urlDomainLabel_, &design.UrlDomainLabel}, {urlDomainCombo_, &design.UrlDomainCombo},
      {usernameLabel_, &design.UsernameLabel},   {usernameText_, &design.UsernameText},
      {passwordLabel_, &design.PasswordLabel},   {passwordText_, &design.PasswordText},
      {savePwdCheck_, &design.SavePwdCheck},     {logInButton_, &design.LogInButton},
      {connectionText_, &design.ConnectionText}};
  for (const auto& [widget, control] : placed) {
    widget->setGeometry(Place(control->Position));
  }
}

void DialogWindow::BuildFileFrame(const OpenDialog& design) {
  openFileFrame_ = Named(new QFrame(this), "OpenFileFrame");
  openFileFrame_->setGeometry(Place(design.OpenFileFrame.Position));
  openFileFrame_->setMouseTracking(true);
  openFileFrame_->installEventFilter(this);

  lookInLabel_ = Named(new QLabel(openFileFrame_), "LookInLabel");
  imageCombo_ = Named(new QComboBox(openFileFrame_), "ImageCombo", tr("Look in folder"));
  lookInLabel_->setBuddy(imageCombo_);
  connect(imageCombo_, &QComboBox::activated, this, [this](int index) {
    dispatch_([index](OpenDialog& dialog) {
      dialog.ImageCombo.Select(index);
      dialog.ImageCombo_Click();
    });
  });

  using Handler = void (OpenDialog::*)(int, int, double, double);
  const auto makeButton = [this](const char* name, const ImageButton& control, Handler onDown,
                                 Handler onMove, Handler onUp) {
    const auto forward = [this](Handler handler) {
      return [this, handler](const MouseEventArgs& args) {
        dispatch_([handler, args](OpenDialog& dialog) {
          (dialog.*handler)(args.button, args.shift, args.x, args.y);
        });
      };
    };
    const auto ignore = [](const MouseEventArgs&) {};
    auto* button = Named(
        new ImageButtonWidget(openFileFrame_, forward(onDown), forward(onMove),
                              onUp != nullptr ? ImageButtonWidget::Handler(forward(onUp)) : ignore),
        name, AccessibleName(control));
    button->setGeometry(Place(control.Position));
    return button;
  };
  reloadImage_ = makeButton("ReloadImage", design.ReloadImage, &OpenDialog::ReloadImage_MouseDown,
                            &OpenDialog::ReloadImage_MouseMove, &OpenDialog::ReloadImage_MouseUp);
  upOneLevelImage_ =
      makeButton("UpOneLevelImage", design.UpOneLevelImage, &OpenDialog::UpOneLevelImage_MouseDown,
                 &OpenDialog::UpOneLevelImage_MouseMove, &OpenDialog::UpOneLevelImage_MouseUp);
  deleteImage_ = makeButton("DeleteImage", design.DeleteImage, &OpenDialog::DeleteImage_MouseDown,
                            &OpenDialog::DeleteImage_MouseMove, &OpenDialog::DeleteImage_MouseUp);
  createFolderImage_ = makeButton(
      "CreateFolderImage", design.CreateFolderImage, &OpenDialog::CreateFolderImage_MouseDown,
      &OpenDialog::CreateFolderImage_MouseMove, &OpenDialog::CreateFolderImage_MouseUp);
  propsImage_ = makeButton("PropsImage", design.PropsImage, &OpenDialog::PropsImage_MouseDown,
                           &OpenDialog::PropsImage_MouseMove, nullptr);

  lineImage_ = Named(new QFrame(openFileFrame_), "LineImage");
  lineImage_->setFrameShape(QFrame::VLine);
  lineImage_->setFrameShadow(QFrame::Sunken);
  lineImage_->setGeometry(Place(design.LineImage.Position));

  listModel_ = new FileListModel();
  listModel_->setParent(this);
  listModel_->SetHeaders(design.ListView.Columns);
  listStack_ = Named(new QStackedWidget(openFileFrame_), "ListView");
  listStack_->setGeometry(Place(design.ListView.Position));
  listView_ = new QListView(listStack_);
  listView_->setAccessibleName(tr("Files"));
  listView_->setModel(listModel_);
  listView_->setUniformItemSizes(true);
  listView_->setLayoutMode(QListView::Batched);
  listView_->setResizeMode(QListView::Adjust);
  listView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  reportView_ = new QTreeView(listStack_);
  reportView_->setAccessibleName(tr("Files"));
  reportView_->setModel(listModel_);
  reportView_->setSelectionModel(listView_->selectionModel());
  reportView_->setRootIsDecorated(false);
  reportView_->setUniformRowHeights(true);
  reportView_->setItemsExpandable(false);
  reportView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  for (std::size_t column = 0; column < design.ListView.Columns.size(); ++column) {
    reportView_->header()->resizeSection(static_cast<int>(column),
                                         ToPixels(design.ListView.Columns[column].Width, dpi_));
  }
  listStack_->addWidget(listView_);
  listStack_->addWidget(reportView_);
  for (QAbstractItemView* view :
       {static_cast<QAbstractItemView*>(listView_), static_cast<QAbstractItemView*>(reportView_)}) {
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->viewport()->setMouseTracking(true);
    view->viewport()->installEventFilter(this);
    view->installEventFilter(this);
    connect(view, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
      dispatch_([row = index.row()](OpenDialog& dialog) { dialog.ListView_ItemClick(row); });
    });
  }
  connect(
      listView_->selectionModel(), &QItemSelectionModel::currentChanged, this,
      [this](const QModelIndex& current) {
        if (current.isValid() && listStack_->currentWidget()->hasFocus()) {
          dispatch_([row = current.row()](OpenDialog& dialog) { dialog.ListView_ItemClick(row); });
        }
      });

  filenameLabel_ = Named(new QLabel(openFileFrame_), "FilenameLabel");
  filenameText_ = Named(new QLineEdit(openFileFrame_), "FilenameText", tr("File name"));
  filenameLabel_->setBuddy(filenameText_);
  connect(filenameText_, &QLineEdit::textEdited, this, [this](const QString& text) {
    dispatch_([text](OpenDialog& dialog) { dialog.FilenameText.Text = text.toStdString(); });
  });

  const std::pair<QWidget*, const Control*> placed[] = {{lookInLabel_, &design.LookInLabel},
                                                        {imageCombo_, &design.ImageCombo},
                                                        {filenameLabel_, &design.FilenameLabel},
                                                        {filenameText_, &design.FilenameText}};
  for (const auto& [widget, control] : placed) {
    widget->setGeometry(Place(control->Position));
  }
}

void DialogWindow::BuildButtonsAndMenus(const OpenDialog& design) {
  openButton_ = Named(new QPushButton(this), "OpenButton");
  openButton_->setGeometry(Place(design.OpenButton.Position));
  connect(openButton_, &QPushButton::clicked, this,
          [this] { dispatch_([](OpenDialog& dialog) { dialog.OpenButton_Click(); }); });
  cancelButton_ = Named(new QPushButton(this), "Cancel");
  cancelButton_->setGeometry(Place(design.Cancel.Position));
  connect(cancelButton_, &QPushButton::clicked, this,
          [this] { dispatch_([](OpenDialog& dialog) { dialog.Cancel_Click(); }); });

  // "&Data" is hidden from the start; its items have no action.
  menuBar_ = new QMenuBar(this);
  menuData_ = menuBar_->addMenu(ToQString(design.menuData.Caption));
  menuData_->setObjectName(QStringLiteral("menuData"));
  menuData_->addAction(ToQString(design.menuOpen.Caption))->setObjectName("menuOpen");
  menuData_->addAction(ToQString(design.menuExit.Caption))->setObjectName("menuExit");
  menuBar_->setVisible(false);

  menuPopup_ = new QMenu(ToQString(design.menuPopup.Caption), this);
  menuPopup_->setObjectName(QStringLiteral("menuPopup"));
  const auto addView = [this](const MenuItem& item, const char* name) {
    QAction* action = menuPopup_->addAction(ToQString(item.Caption));
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(true);
    return action;
  };
  menuIcons_ = addView(design.menuIcons, "menuIcons");
  menuSmallIcons_ = addView(design.menuSmallIcons, "menuSmallIcons");
  menuList_ = addView(design.menuList, "menuList");
  menuReport_ = addView(design.menuReport, "menuReport");
}

void DialogWindow::WireKeyboard() {
  auto* refresh = new QShortcut(QKeySequence(Qt::Key_F5), this);
  connect(refresh, &QShortcut::activated, this, [this] { ClickImageFromKeyboard(reloadImage_); });
  setTabOrder(urlDomainCombo_, usernameText_);
  setTabOrder(usernameText_, passwordText_);
  setTabOrder(passwordText_, savePwdCheck_);
  setTabOrder(savePwdCheck_, logInButton_);
}

void DialogWindow::ClickImageFromKeyboard(ImageButtonWidget* button) {
  if (button->isEnabled() && button->isVisible()) {
    button->ClickFromKeyboard();
  }
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    const MouseEventArgs args{ButtonCode(mouse->buttons()), ShiftCode(mouse->modifiers()),
                              ToTwips(mouse->position().x(), dpi_),
                              ToTwips(mouse->position().y(), dpi_)};
    if (watched == openFileFrame_) {
      dispatch_([args](OpenDialog& dialog) {
        dialog.OpenFileFrame_MouseMove(args.button, args.shift, args.x, args.y);
      });
    } else if (watched == listView_->viewport() || watched == reportView_->viewport()) {
      dispatch_([args](OpenDialog& dialog) {
        dialog.ListView_MouseMove(args.button, args.shift, args.x, args.y);
      });
    }
  } else if (event->type() == QEvent::MouseButtonDblClick &&
             (watched == listView_->viewport() || watched == reportView_->viewport())) {
    // Any double-click on the list, on an item or on the space around the items. Its first click
    // has already chosen the item; the handler may list another folder or close the window, so
    // the list does not see the event.
    dispatch_([](OpenDialog& dialog) { dialog.ListView_DblClick(); });
    return true;
  } else if (event->type() == QEvent::FocusOut && watched == urlDomainCombo_->lineEdit() &&
             static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
    dispatch_([](OpenDialog& dialog) { dialog.UrlDomainCombo_LostFocus(); });
  } else if (event->type() == QEvent::KeyPress &&
             (watched == listView_ || watched == reportView_)) {
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
        openButton_->click();
        return true;
      case Qt::Key_Backspace:
        ClickImageFromKeyboard(upOneLevelImage_);
        return true;
      case Qt::Key_Delete:
        ClickImageFromKeyboard(deleteImage_);
        return true;
      default:
        break;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void DialogWindow::reject() {
  dispatch_([](OpenDialog& dialog) { dialog.Cancel_Click(); });
}

void DialogWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  dispatch_([](OpenDialog& dialog) { dialog.Form_QueryUnload(); });
}

void DialogWindow::PopupViewMenu(OpenDialog& dialog, int x, int y) {
  Draw(dialog);
  QAction* chosen = menuPopup_->exec(mapToGlobal(ToPixels(x, y, dpi_)));
  if (chosen == menuIcons_) {
    dialog.menuIcons_Click();
  } else if (chosen == menuSmallIcons_) {
    dialog.menuSmallIcons_Click();
  } else if (chosen == menuList_) {
    dialog.menuList_Click();
  } else if (chosen == menuReport_) {
    dialog.menuReport_Click();
  }
}

void DialogWindow::Draw(const OpenDialog& dialog) {
  setWindowTitle(ToQString(dialog.Caption));
  Paint(this, dialog.BackColor, QPalette::Window);
  {
    const QSignalBlocker block(tabStrip_);
    tabStrip_->setCurrentIndex(dialog.TabStrip.SelectedTab - 1);
  }
  tabStrip_->setEnabled(dialog.TabStrip.Enabled);
  menuBar_->setVisible(dialog.menuData.Visible);
  DrawConnectionFrame(dialog);
  DrawFileFrame(dialog);

  openButton_->setText(ToQString(dialog.OpenButton.Caption));
  DrawControl(openButton_, dialog.OpenButton);
  Paint(openButton_, dialog.OpenButton.BackColor, QPalette::Button);
  cancelButton_->setText(ToQString(dialog.Cancel.Caption));
  DrawControl(cancelButton_, dialog.Cancel);
  Paint(cancelButton_, dialog.Cancel.BackColor, QPalette::Button);
  // Enter runs the action of the tab in front: Login on the connection tab.
  const bool connecting = dialog.ConnectionFrame.Visible;
  logInButton_->setDefault(connecting);
  openButton_->setDefault(!connecting);

  const std::pair<QAction*, const MenuItem*> views[] = {{menuIcons_, &dialog.menuIcons},
                                                        {menuSmallIcons_, &dialog.menuSmallIcons},
                                                        {menuList_, &dialog.menuList},
                                                        {menuReport_, &dialog.menuReport}};
  for (const auto& [action, item] : views) {
    action->setChecked(item->Checked);
    action->setVisible(item->Visible);
  }
}

void DialogWindow::DrawConnectionFrame(const OpenDialog& dialog) {
  DrawControl(connectionFrame_, dialog.ConnectionFrame);
  urlDomainLabel_->setText(ToQString(dialog.UrlDomainLabel.Caption));
  usernameLabel_->setText(ToQString(dialog.UsernameLabel.Caption));
  passwordLabel_->setText(ToQString(dialog.PasswordLabel.Caption));
  {
    const QSignalBlocker block(urlDomainCombo_);
    SetItems(urlDomainCombo_, dialog.UrlDomainCombo.Items);
    if (urlDomainCombo_->currentText() != ToQString(dialog.UrlDomainCombo.Text)) {
      urlDomainCombo_->setEditText(ToQString(dialog.UrlDomainCombo.Text));
    }
  }
  DrawControl(urlDomainCombo_, dialog.UrlDomainCombo);
  SetText(usernameText_, dialog.UsernameText.Text);
  DrawControl(usernameText_, dialog.UsernameText);
  SetText(passwordText_, dialog.PasswordText.Text);
  DrawControl(passwordText_, dialog.PasswordText);
  savePwdCheck_->setText(ToQString(dialog.SavePwdCheck.Caption));
  savePwdCheck_->setChecked(dialog.SavePwdCheck.Value);
  DrawControl(savePwdCheck_, dialog.SavePwdCheck);
  logInButton_->setText(ToQString(dialog.LogInButton.Caption));
  DrawControl(logInButton_, dialog.LogInButton);
  SetText(connectionText_, dialog.ConnectionText.Text);
  DrawControl(connectionText_, dialog.ConnectionText);
  if (dialog.FocusCount != focusDrawn_) {
    focusDrawn_ = dialog.FocusCount;
    const std::pair<const Control*, QWidget*> fields[] = {{&dialog.UrlDomainCombo, urlDomainCombo_},
                                                          {&dialog.UsernameText, usernameText_},
                                                          {&dialog.PasswordText, passwordText_}};
    for (const auto& [control, widget] : fields) {
      if (control == dialog.FocusControl) {
        widget->setFocus();
      }
    }
  }
}

void DialogWindow::DrawFileFrame(const OpenDialog& dialog) {
  DrawControl(openFileFrame_, dialog.OpenFileFrame);
  Paint(openFileFrame_, dialog.OpenFileFrame.BackColor, QPalette::Window);
  Paint(tabPage_, dialog.OpenFileFrame.BackColor, QPalette::Window);
  lookInLabel_->setText(ToQString(dialog.LookInLabel.Caption));
  Paint(lookInLabel_, dialog.LookInLabel.BackColor, QPalette::Window);
  filenameLabel_->setText(ToQString(dialog.FilenameLabel.Caption));
  Paint(filenameLabel_, dialog.FilenameLabel.BackColor, QPalette::Window);
  {
    const QSignalBlocker block(imageCombo_);
    SetItems(imageCombo_, dialog.ImageCombo.Items);
    imageCombo_->setCurrentIndex(dialog.ImageCombo.SelectedIndex);
  }
  DrawControl(imageCombo_, dialog.ImageCombo);

  const double ratio = devicePixelRatioF();
  const std::pair<ImageButtonWidget*, const ImageButton*> changes[] = {
      {reloadImage_, &dialog.ReloadImage},
      {upOneLevelImage_, &dialog.UpOneLevelImage},
      {deleteImage_, &dialog.DeleteImage},
      {createFolderImage_, &dialog.CreateFolderImage}};
  for (const auto& [widget, control] : changes) {
    widget->SetPicture(ChangesImage(control->Picture, ratio));
    DrawControl(widget, *control);
  }
  propsImage_->SetPicture(PropsImage(dialog.PropsImage.Picture, ratio));
  DrawControl(propsImage_, dialog.PropsImage);
  DrawControl(lineImage_, dialog.LineImage);

  DrawList(dialog);
  SetText(filenameText_, dialog.FilenameText.Text);
  DrawControl(filenameText_, dialog.FilenameText);
}

void DialogWindow::ShowMode(ListViewMode mode) {
  if (mode == ListViewMode::Report) {
    listStack_->setCurrentWidget(reportView_);
    return;
  }
  const bool icons = mode == ListViewMode::Icons;
  listView_->setViewMode(icons ? QListView::IconMode : QListView::ListMode);
  listView_->setIconSize(icons ? QSize(32, 32) : QSize(16, 16));
  // Large icons sit in cells wide enough for two lines of a name.
  listView_->setGridSize(icons ? QSize(ToPixels(1260, dpi_), ToPixels(1080, dpi_)) : QSize());
  listView_->setWordWrap(icons);
  listView_->setUniformItemSizes(!icons);
  // The list view runs in columns from top to bottom; the icon views fill rows.
  listView_->setFlow(mode == ListViewMode::List ? QListView::TopToBottom : QListView::LeftToRight);
  listView_->setWrapping(true);
  listStack_->setCurrentWidget(listView_);
}

void DialogWindow::DrawList(const OpenDialog& dialog) {
  const ListViewControl& list = dialog.ListView;
  listModel_->SetItems(list);
  if (shownMode_ != list.View) {
    ShowMode(list.View);
    shownMode_ = list.View;
  }
  DrawControl(listStack_, list);
  QItemSelectionModel* selection = listView_->selectionModel();
  const QModelIndex wanted =
      list.HasSelection() ? listModel_->index(list.SelectedIndex, 0) : QModelIndex();
  if (selection->currentIndex() != wanted) {
    const QSignalBlocker block(selection);
    selection->setCurrentIndex(wanted,
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    listView_->viewport()->update();
    reportView_->viewport()->update();
  }
}

}  // namespace penlark::qt

#include "dialog/qt/DialogWindow.h"

#include "dialog/ControlTable.h"
#include "dialog/OpenDialog.h"
#include "dialog/qt/Artwork.h"
#include "dialog/qt/FileListModel.h"
#include "dialog/qt/ImageButtonWidget.h"
#include "dialog/qt/Twips.h"

#include <QAction>
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

QPixmap Picture(PictureList list, int picture, qreal devicePixelRatio) {
  return list == PictureList::Props ? PropsImage(picture, devicePixelRatio)
                                    : ChangesImage(picture, devicePixelRatio);
}

void DrawControl(QWidget* widget, const Control& control) {
  widget->setEnabled(control.Enabled);
  widget->setVisible(control.Visible);
  widget->setToolTip(ToQString(control.ToolTipText));
}

}  // namespace

// Builds the widget of one row of the table of controls, with its wiring, and says how it draws
// its control.
class WidgetBuilder {
 public:
  WidgetBuilder(DialogWindow& window, const OpenDialog& design, QWidget* container)
      : window_(window), design_(design), container_(container) {}

  DialogWindow::Bound operator()(const FrameRow& row) const {
    auto* frame = new QFrame(container_);
    return Bind(frame, row.control, [frame](const Frame& control) {
      DrawControl(frame, control);
      Paint(frame, control.BackColor, QPalette::Window);
    });
  }

  DialogWindow::Bound operator()(const LabelRow& row) const {
    auto* label = new QLabel(container_);
    return Bind(label, row.control, [label](const Label& control) {
      label->setText(ToQString(control.Caption));
      DrawControl(label, control);
      Paint(label, control.BackColor, QPalette::Window);
    });
  }

  DialogWindow::Bound operator()(const TextRow& row) const {
    auto* edit = new QLineEdit(container_);
    edit->setAccessibleName(DialogWindow::tr(row.accessibleName));
    const TextBox& designed = design_.*row.control;
    if (designed.PasswordChar != '\0') {
      edit->setEchoMode(QLineEdit::Password);
      edit->setStyleSheet(QStringLiteral("lineedit-password-character: %1")
                              .arg(static_cast<int>(designed.PasswordChar)));
    }
    if (designed.Locked) {
      edit->setReadOnly(true);
    } else {
      QObject::connect(edit, &QLineEdit::textEdited, &window_,
                       [dispatch = window_.dispatch_, field = row.control](const QString& text) {
                         dispatch([field, text](OpenDialog& dialog) {
                           (dialog.*field).Text = text.toStdString();
                         });
                       });
    }
    return Bind(edit, row.control, [edit](const TextBox& control) {
      SetText(edit, control.Text);
      DrawControl(edit, control);
    });
  }

  DialogWindow::Bound operator()(const CheckRow& row) const {
    auto* check = new QCheckBox(container_);
    QObject::connect(
        check, &QCheckBox::clicked, &window_,
        [dispatch = window_.dispatch_, field = row.control](bool checked) {
          dispatch([field, checked](OpenDialog& dialog) { (dialog.*field).Value = checked; });
        });
    return Bind(check, row.control, [check](const CheckBox& control) {
      check->setText(ToQString(control.Caption));
      check->setChecked(control.Value);
      DrawControl(check, control);
    });
  }

  DialogWindow::Bound operator()(const ButtonRow& row) const {
    auto* button = new QPushButton(container_);
    QObject::connect(button, &QPushButton::clicked, &window_,
                     [dispatch = window_.dispatch_, click = row.click] {
                       dispatch([click](OpenDialog& dialog) { (dialog.*click)(); });
                     });
    return Bind(button, row.control, [button](const CommandButton& control) {
      button->setText(ToQString(control.Caption));
      DrawControl(button, control);
      Paint(button, control.BackColor, QPalette::Button);
    });
  }

  DialogWindow::Bound operator()(const ServerComboRow& row) const {
    auto* combo = new QComboBox(container_);
    combo->setAccessibleName(DialogWindow::tr(row.accessibleName));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    const auto dispatch = window_.dispatch_;
    const auto field = row.control;
    QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, &window_,
                     [dispatch, field](const QString& text) {
                       dispatch([field, text](OpenDialog& dialog) {
                         (dialog.*field).Text = text.toStdString();
                         (dialog.*field).ListIndex = -1;
                       });
                     });
    QObject::connect(combo, &QComboBox::activated, &window_, [dispatch, combo](int index) {
      const std::string text = combo->itemText(index).toStdString();
      dispatch([index, text](OpenDialog& dialog) {
        dialog.UrlDomainCombo.ListIndex = index;
        dialog.UrlDomainCombo.Text = text;
        dialog.UrlDomainCombo_Click();
      });
    });
    // The combo box holds the focus for its line edit: its focus-out reaches filters, the line
    // edit's does not.
    combo->installEventFilter(&window_);
    return Bind(combo, row.control, [combo](const ComboBox& control) {
      {
        const QSignalBlocker block(combo);
        SetItems(combo, control.Items);
        if (combo->currentText() != ToQString(control.Text)) {
          combo->setEditText(ToQString(control.Text));
        }
      }
      DrawControl(combo, control);
    });
  }

  DialogWindow::Bound operator()(const FolderComboRow& row) const {
    auto* combo = new QComboBox(container_);
    combo->setAccessibleName(DialogWindow::tr(row.accessibleName));
    QObject::connect(combo, &QComboBox::activated, &window_,
                     [dispatch = window_.dispatch_](int index) {
                       dispatch([index](OpenDialog& dialog) {
                         dialog.ImageCombo.Select(index);
                         dialog.ImageCombo_Click();
                       });
                     });
    return Bind(combo, row.control, [combo](const ImageComboBox& control) {
      {
        const QSignalBlocker block(combo);
        SetItems(combo, control.Items);
        combo->setCurrentIndex(control.SelectedIndex);
      }
      DrawControl(combo, control);
    });
  }

  DialogWindow::Bound operator()(const ListRow& row) const {
    window_.BuildList(design_.*row.control, container_);
    DialogWindow& window = window_;
    return Bind(window_.listStack_, row.control,
                [&window](const ListViewControl& control) { window.DrawList(control); });
  }

  DialogWindow::Bound operator()(const PictureRow& row) const {
    const ImageButtonEvents events = ForwardMouseEvents(row, window_.dispatch_);
    auto* button = new ImageButtonWidget(container_, events.down, events.move, events.up);
    button->setAccessibleName(ToQString((design_.*row.control).ToolTipText));
    return Bind(button, row.control, [button, pictures = row.pictures](const ImageButton& control) {
      button->SetPicture(Picture(pictures, control.Picture, button->devicePixelRatioF()));
      DrawControl(button, control);
    });
  }

  DialogWindow::Bound operator()(const LineRow& row) const {
    auto* line = new QFrame(container_);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return Bind(line, row.control,
                [line](const ImageButton& control) { DrawControl(line, control); });
  }

 private:
  template <typename ControlType, typename Draw>
  static DialogWindow::Bound Bind(QWidget* widget, Field<ControlType> field, Draw draw) {
    return {widget, [field](const OpenDialog& dialog) -> const Control& { return dialog.*field; },
            [field, draw](const OpenDialog& dialog) { draw(dialog.*field); }};
  }

  DialogWindow& window_;
  const OpenDialog& design_;
  QWidget* container_;
};

DialogWindow::DialogWindow(const OpenDialog& design, Dispatcher dispatch)
    : dispatch_(std::move(dispatch)), dpi_(logicalDpiX()) {
  setObjectName(QStringLiteral("OpenDialog"));
  setModal(true);
  setFixedSize(Place(design.Position).size());
  BuildTabStrip(design);
  for (const WidgetRow& row : WidgetRows()) {
    QWidget* container = row.container != nullptr ? Child<QWidget>(row.container) : this;
    Bound bound = std::visit(WidgetBuilder(*this, design, container), row.kind);
    bound.widget->setObjectName(QString::fromLatin1(row.name));
    bound.widget->setGeometry(Place(bound.control(design).Position));
    bound_.push_back(std::move(bound));
  }
  for (const WidgetRow& row : WidgetRows()) {
    if (const auto* label = std::get_if<LabelRow>(&row.kind)) {
      Child<QLabel>(row.name)->setBuddy(Child<QWidget>(label->buddy));
    }
  }
  auto* fileFrame = Child<QFrame>("OpenFileFrame");
  fileFrame->setMouseTracking(true);
  fileFrame->installEventFilter(this);
  BuildMenus(design);
  WireKeyboard();
}

DialogWindow::~DialogWindow() = default;

template <typename Widget>
Widget* DialogWindow::Child(const char* name) const {
  return findChild<Widget*>(QLatin1String(name));
}

QRect DialogWindow::Place(const Rect& rect) const {
  return ToPixels(rect, dpi_);
}

void DialogWindow::BuildTabStrip(const OpenDialog& design) {
  tabStrip_ = new QTabBar(this);
  tabStrip_->setObjectName(QStringLiteral("TabStrip"));
  tabStrip_->setAccessibleName(tr("Tabs"));
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
}

void DialogWindow::BuildList(const ListViewControl& design, QWidget* container) {
  listModel_ = new FileListModel();
  listModel_->setParent(this);
  listModel_->SetHeaders(design.Columns);
  listStack_ = new QStackedWidget(container);
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
  for (std::size_t column = 0; column < design.Columns.size(); ++column) {
    reportView_->header()->resizeSection(static_cast<int>(column),
                                         ToPixels(design.Columns[column].Width, dpi_));
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
}

void DialogWindow::BuildMenus(const OpenDialog& design) {
  // "&Data" is hidden from the start; its items have no action.
  menuBar_ = new QMenuBar(this);
  QMenu* menuData = menuBar_->addMenu(ToQString(design.menuData.Caption));
  menuData->setObjectName(QStringLiteral("menuData"));
  menuData->addAction(ToQString(design.menuOpen.Caption))->setObjectName("menuOpen");
  menuData->addAction(ToQString(design.menuExit.Caption))->setObjectName("menuExit");
  menuBar_->setVisible(false);

  menuPopup_ = new QMenu(ToQString(design.menuPopup.Caption), this);
  menuPopup_->setObjectName(QStringLiteral("menuPopup"));
  for (const ViewMenuRow& row : ViewMenuRows()) {
    QAction* action = menuPopup_->addAction(ToQString((design.*row.item).Caption));
    action->setObjectName(QString::fromLatin1(row.name));
    action->setCheckable(true);
  }
}

void DialogWindow::WireKeyboard() {
  auto* refresh = new QShortcut(QKeySequence(Qt::Key_F5), this);
  connect(refresh, &QShortcut::activated, this, [this] { ClickImageFromKeyboard("ReloadImage"); });
  QWidget* previous = nullptr;
  for (const char* name :
       {"UrlDomainCombo", "UsernameText", "PasswordText", "SavePwdCheck", "LogInButton"}) {
    QWidget* next = Child<QWidget>(name);
    if (previous != nullptr) {
      setTabOrder(previous, next);
    }
    previous = next;
  }
}

void DialogWindow::ClickImageFromKeyboard(const char* name) {
  auto* button = Child<ImageButtonWidget>(name);
  if (button->isEnabled() && button->isVisible()) {
    button->ClickFromKeyboard();
  }
}

bool DialogWindow::IsList(const QObject* object) const {
  return object == listView_->viewport() || object == reportView_->viewport();
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    const MouseEventArgs args{ButtonCode(mouse->buttons()), ShiftCode(mouse->modifiers()),
                              ToTwips(mouse->position().x(), dpi_),
                              ToTwips(mouse->position().y(), dpi_)};
    if (watched->objectName() == QLatin1String("OpenFileFrame")) {
      dispatch_([args](OpenDialog& dialog) {
        dialog.OpenFileFrame_MouseMove(args.button, args.shift, args.x, args.y);
      });
    } else if (IsList(watched)) {
      dispatch_([args](OpenDialog& dialog) {
        dialog.ListView_MouseMove(args.button, args.shift, args.x, args.y);
      });
    }
  } else if (event->type() == QEvent::MouseButtonDblClick && IsList(watched)) {
    // Any double-click on the list, on an item or on the space around the items. Its first click
    // has already chosen the item; the handler may list another folder or close the window, so
    // the list does not see the event.
    dispatch_([](OpenDialog& dialog) { dialog.ListView_DblClick(); });
    return true;
  } else if (event->type() == QEvent::FocusOut &&
             watched->objectName() == QLatin1String("UrlDomainCombo") &&
             static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
    dispatch_([](OpenDialog& dialog) { dialog.UrlDomainCombo_LostFocus(); });
  } else if (event->type() == QEvent::KeyPress &&
             (watched == listView_ || watched == reportView_)) {
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
        Child<QPushButton>("OpenButton")->click();
        return true;
      case Qt::Key_Backspace:
        ClickImageFromKeyboard("UpOneLevelImage");
        return true;
      case Qt::Key_Delete:
        ClickImageFromKeyboard("DeleteImage");
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
  const qsizetype chosen =
      menuPopup_->actions().indexOf(menuPopup_->exec(mapToGlobal(ToPixels(x, y, dpi_))));
  if (chosen >= 0) {
    (dialog.*ViewMenuRows()[static_cast<std::size_t>(chosen)].click)();
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
  Paint(tabPage_, dialog.OpenFileFrame.BackColor, QPalette::Window);
  menuBar_->setVisible(dialog.menuData.Visible);
  for (const Bound& bound : bound_) {
    bound.draw(dialog);
  }
  DrawFocus(dialog);
  // Enter runs the action of the tab in front: Login on the connection tab.
  const bool connecting = dialog.ConnectionFrame.Visible;
  Child<QPushButton>("LogInButton")->setDefault(connecting);
  Child<QPushButton>("OpenButton")->setDefault(!connecting);

  const QList<QAction*> views = menuPopup_->actions();
  for (std::size_t index = 0; index < ViewMenuRows().size(); ++index) {
    const MenuItem& item = dialog.*ViewMenuRows()[index].item;
    QAction* action = views.at(static_cast<qsizetype>(index));
    action->setChecked(item.Checked);
    action->setVisible(item.Visible);
  }
}

// Moves the keyboard focus to the control the dialog asked for, once for each time it asked.
void DialogWindow::DrawFocus(const OpenDialog& dialog) {
  if (dialog.FocusCount == focusDrawn_) {
    return;
  }
  focusDrawn_ = dialog.FocusCount;
  for (const Bound& bound : bound_) {
    if (&bound.control(dialog) == dialog.FocusControl) {
      bound.widget->setFocus();
    }
  }
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

void DialogWindow::DrawList(const ListViewControl& list) {
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

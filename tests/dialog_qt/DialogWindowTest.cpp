#include "dialog/OpenDialog.h"
#include "dialog/qt/Artwork.h"
#include "dialog/qt/ImageButtonWidget.h"
#include "dialog/qt/QtDialogView.h"
#include "dialog/qt/QtServices.h"
#include "support/TestServer.h"
#include "support/dialog/DialogTestBed.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QStackedWidget>
#include <QStyle>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

namespace penlark::testing {
namespace {

// The dialog's window on the offscreen platform (96 dots per inch), over the reference server.
class DialogWindowTest : public ::testing::Test {
 protected:
  DialogWindowTest() : bed(views) {
    server.AddFolder("/docs");
    server.AddFolder("/docs/2004");
    server.AddDocument("/docs/report.rtf", "<Document/>");
    server.AddDocument("/docs/notes.rtf", "<Document/>");
    dialog = &bed.Dialog();
    window = &views.Newest()->Window();
    views.RefreshAll();  // a modal showing draws the window first, as this does
    window->show();
  }

  template <typename Widget = QWidget>
  Widget* Find(const char* name) {
    auto* widget = window->findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  void Activate() {
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  }

  void LoggedIn() {
    Login(server.ServerText(), "ann", "secret", false)(*dialog);
    views.RefreshAll();
  }

  QAbstractItemView* VisibleList() {
    return qobject_cast<QAbstractItemView*>(Find<QStackedWidget>("ListView")->currentWidget());
  }

  void DoubleClick(const QString& text) {
    QAbstractItemView* list = VisibleList();
    const QModelIndexList found = list->model()->match(list->model()->index(0, 0), Qt::DisplayRole,
                                                       text, 1, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << text.toStdString();
    const QPoint item = list->visualRect(found.first()).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, item);
  }

  qt::QtDialogViews views;
  DialogTestBed bed;
  TestServer server;
  OpenDialog* dialog = nullptr;
  QWidget* window = nullptr;
};

// Properties of the widgets named as the controls; places are the form's twips at 15 a pixel.
TEST_F(DialogWindowTest, ShowsTheFreshlyLoadedDialogWhereTheFormPlacesIt) {
  const std::tuple<const char*, const char*, QVariant> rows[] = {
      {"TabStrip", "enabled", false},
      {"UrlDomainCombo", "currentText", "Tarnwell server name"},
      {"FilenameText", "text", "Text1"},
      {"OpenButton", "text", "Open"},
      {"UpOneLevelImage", "enabled", false},
      {"UpOneLevelImage", "toolTip", "Up One Level"},
      {"PasswordText", "echoMode", QVariant::fromValue(QLineEdit::Password)},
      {"ReloadImage", "geometry", QRect(287, 14, 24, 24)},
      {"Cancel", "geometry", QRect(417, 322, 89, 25)}};
  for (const auto& [name, property, value] : rows) {
    EXPECT_EQ(Find(name)->property(property), value) << name << " " << property;
  }
  EXPECT_EQ(Find<QTabBar>("TabStrip")->tabToolTip(1), "Connection information to Server.");
  EXPECT_EQ(window->palette().color(QPalette::Window), QColor(236, 234, 217));
  auto* password = Find("PasswordText");
  EXPECT_EQ(password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, password),
            '*');
  bed.Context().Server().CurrentFile = "x";
  window->close();
  EXPECT_FALSE(bed.Context().IsDialogLoaded());
  EXPECT_EQ(bed.Context().Server().CurrentFile, "x") << "the close box keeps the current file";
}

// Enter clicks the tab's default button; a character typed mid-box keeps the caret.
TEST_F(DialogWindowTest, TypingAndEnterLogInAndEnterTheNamedFolder) {
  const auto type = [](QWidget* box, const QString& text) {
    auto* edit = qobject_cast<QLineEdit*>(box);
    QTest::keyClicks(edit, QString(text).remove(1, 1));
    edit->setCursorPosition(1);
    QTest::keyClicks(edit, text.mid(1, 1));
    EXPECT_EQ(edit->cursorPosition(), 2) << text.toStdString();
  };
  Activate();
  Find<QComboBox>("UrlDomainCombo")->lineEdit()->selectAll();
  type(Find<QComboBox>("UrlDomainCombo")->lineEdit(), QString::fromStdString(server.ServerText()));
  type(Find("UsernameText"), "ann");
  type(Find("PasswordText"), "secret");
  QTest::mouseClick(Find("SavePwdCheck"), Qt::LeftButton);
  EXPECT_TRUE(dialog->SavePwdCheck.Value);
  QTest::keyClick(Find("PasswordText"), Qt::Key_Return);
  EXPECT_EQ(Find<QTabBar>("TabStrip")->currentIndex(), 0);
  EXPECT_TRUE(Find("OpenFileFrame")->isVisible());
  ASSERT_EQ(VisibleList()->model()->rowCount(), 1);
  EXPECT_EQ(VisibleList()->model()->index(0, 0).data().toString(), "docs");
  QTest::keyClick(window, Qt::Key_N, Qt::AltModifier);
  ASSERT_TRUE(Find("FilenameText")->hasFocus()) << "the label's accelerator";
  type(Find("FilenameText"), "docs");
  QTest::keyClick(Find("FilenameText"), Qt::Key_Return);
  EXPECT_EQ(Find<QComboBox>("ImageCombo")->currentText(), "/docs");
}

// The mouse on an image button, double-clicks in both views and the keys in the list.
TEST_F(DialogWindowTest, TheMouseAndTheKeysRunTheDialogsHandlers) {
  LoggedIn();
  server.ClearRequests();
  auto* reload = Find<qt::ImageButtonWidget>("ReloadImage");
  QTest::mouseMove(reload, reload->rect().center());
  EXPECT_EQ(reload->Picture().cacheKey(),
            qt::ChangesImage(kReloadPictures.Hover, window->devicePixelRatioF()).cacheKey());
  QTest::mousePress(reload, Qt::LeftButton, {}, reload->rect().center());
  QTest::mouseRelease(reload, Qt::LeftButton, {}, QPoint(reload->width() + 3, 5));
  EXPECT_TRUE(server.Requests().empty()) << "released just outside";
  QTest::mouseClick(reload, Qt::LeftButton, {}, reload->rect().center());
  EXPECT_EQ(server.Requests().size(), 1u);
  DoubleClick("docs");
  ASSERT_EQ(Find<QComboBox>("ImageCombo")->currentText(), "/docs");
  server.ClearRequests();
  dialog->menuReport_Click();
  views.RefreshAll();
  Activate();
  VisibleList()->setFocus();
  ASSERT_EQ(dialog->ListView.SelectedIndex, 0);
  QTest::keyClick(VisibleList(), Qt::Key_Down);
  EXPECT_EQ(dialog->ListView.SelectedIndex, 1);
  EXPECT_EQ(dialog->FilenameText.Text, dialog->ListView.Items.at(1).Text);
  QTest::keyClick(VisibleList(), Qt::Key_Up);
  QTest::keyClick(window, Qt::Key_F5);
  EXPECT_EQ(server.Requests().size(), 1u) << "F5 refreshes";
  bed.prompts.AnswerNext(MessageAnswer::No);
  QTest::keyClick(VisibleList(), Qt::Key_Delete);
  EXPECT_EQ(bed.prompts.MessageTexts().back(), "Delete 2004 from Tarnwell server?");
  QTest::keyClick(VisibleList(), Qt::Key_Backspace);
  EXPECT_EQ(dialog->ImageCombo.Items, std::vector<std::string>{"/"}) << "Backspace goes up";
  EXPECT_EQ(dialog->PressedButton, 0);

  DoubleClick("docs");
  EXPECT_EQ(VisibleList()->model()->rowCount(), 3) << "in /docs";
  // On the space around the items it runs the action button, here with no name.
  QAbstractItemView* list = VisibleList();
  const QPoint empty = list->viewport()->rect().bottomRight() - QPoint(2, 2);
  ASSERT_FALSE(list->indexAt(empty).isValid());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, empty);
  EXPECT_EQ(bed.prompts.MessageTexts().back(), "Filename is EMPTY,\r\nplease retry.");

  server.ClearRequests();
  emit Find<QComboBox>("ImageCombo")->activated(0);
  EXPECT_EQ(dialog->ImageCombo.Items, std::vector<std::string>{"/"}) << "the trail's root chosen";
  for (QWidget* moved : {Find("OpenFileFrame"), VisibleList()->viewport()}) {
    dialog->ReloadImage.Picture = 2;
    QTest::mouseMove(moved, QPoint(3, 3));
    EXPECT_EQ(dialog->ReloadImage.Picture, 1) << moved->objectName().toStdString();
  }
  Find("ReloadImage")->setFocus();
  QTest::keyClick(Find("ReloadImage"), Qt::Key_Space);
  EXPECT_EQ(server.Requests().size(), 2u) << "the trail's listing, then Space on Reload";
  auto* tabs = Find<QTabBar>("TabStrip");
  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
  EXPECT_EQ(dialog->TabStrip.SelectedTab, 2);
  views.RefreshAll();
  dialog->UsernameText.Text.clear();
  emit Find<QComboBox>("UrlDomainCombo")->activated(0);
  EXPECT_EQ(dialog->UsernameText.Text, "ann") << "the history's user of the chosen server";
  dialog->UrlDomainCombo.Text = "host              ann";
  views.RefreshAll();
  Find<QComboBox>("UrlDomainCombo")->lineEdit()->setFocus();
  Find("UsernameText")->setFocus();
  EXPECT_EQ(dialog->UrlDomainCombo.Text, "host") << "leaving the box drops the user";
}

TEST_F(DialogWindowTest, TheViewsMenuSwitchesTheView) {
  const std::tuple<ListViewMode, QListView::ViewMode, int, QListView::Flow> rows[] = {
      {ListViewMode::Icons, QListView::IconMode, 32, QListView::LeftToRight},
      {ListViewMode::SmallIcons, QListView::ListMode, 16, QListView::LeftToRight},
      {ListViewMode::List, QListView::ListMode, 16, QListView::TopToBottom},
      {ListViewMode::Report, {}, 0, {}}};
  auto* props = Find("PropsImage");
  for (const auto& [mode, viewMode, iconSide, flow] : rows) {
    const int index = static_cast<int>(mode);
    SCOPED_TRACE(index);
    QPoint shownAt;
    QTimer::singleShot(0, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      ASSERT_NE(menu, nullptr);
      shownAt = menu->pos();
      menu->setActiveAction(menu->actions().at(index));
      QTest::keyClick(menu, Qt::Key_Return);
    });
    QTest::mouseClick(props, Qt::LeftButton, {}, props->rect().center());
    EXPECT_EQ(shownAt, window->mapToGlobal(QPoint(440, 68))) << "under the Views button";
    EXPECT_EQ(dialog->ListView.View, mode);
    if (auto* list = qobject_cast<QListView*>(VisibleList()); iconSide != 0) {
      ASSERT_NE(list, nullptr);
      EXPECT_EQ(list->viewMode(), viewMode);
      EXPECT_EQ(list->iconSize(), QSize(iconSide, iconSide));
      EXPECT_EQ(list->flow(), flow);
    } else {
      ASSERT_NE(qobject_cast<QTreeView*>(VisibleList()), nullptr);
      EXPECT_EQ(VisibleList()->model()->headerData(2, Qt::Horizontal).toString(), "Last Modified");
    }
  }
}

// The focus moves to the password box once; typing elsewhere afterwards stays there.
TEST_F(DialogWindowTest, ARefusedAutomaticLoginPutsTheFocusInThePasswordBoxOnce) {
  LoggedIn();
  dialog->Cancel_Click();                             // the history holds ann without a password
  Component next(bed.ServicesWith(bed.word, views));  // a component that knows no password
  const OpenDialog& fresh = next.Context().Dialog();
  window = &views.Newest()->Window();
  views.RefreshAll();
  window->show();
  Activate();
  EXPECT_EQ(fresh.TabStrip.SelectedTab, 2);
  EXPECT_TRUE(Find("PasswordText")->hasFocus());
  QTest::mouseClick(Find("UsernameText"), Qt::LeftButton);
  for (const Qt::Key key : {Qt::Key_I, Qt::Key_E}) {
    QTest::keyClick(QApplication::focusWidget(), key);
  }
  EXPECT_EQ(fresh.UsernameText.Text, "annie");
}

// A failing handler ends a modal showing and reaches the caller; the next showing answers again.
TEST_F(DialogWindowTest, AModalShowingEndsWithTheDialogOrItsHandlersFailure) {
  LoggedIn();
  QTimer::singleShot(0, [this] {
    QTest::mouseClick(Find("CreateFolderImage"), Qt::LeftButton, {}, QPoint(5, 5));
  });
  EXPECT_THROW(bed.Context().ShowDialog(), std::logic_error) << "an input box nobody answers";
  EXPECT_FALSE(window->isVisible());
  bed.Context().Server().CurrentFile = "x";
  QTimer::singleShot(0, [this] {
    QTest::keyClick(window, Qt::Key_Escape);
    if (bed.Context().IsDialogLoaded()) {
      ADD_FAILURE() << "the window no longer answers";
      qobject_cast<QDialog*>(window)->done(0);
    }
  });
  bed.Context().ShowDialog();
  EXPECT_EQ(bed.Context().Server().CurrentFile, "") << "Escape is Cancel";
}

TEST(QtPrompts, AskAndReturnTheAnswer) {
  qt::QtPrompts prompts;
  QTimer::singleShot(0, [] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "Penlark Files");
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    box->button(QMessageBox::No)->click();
  });
  EXPECT_EQ(prompts.ShowMessage({.text = "Overwrite?",
                                 .buttons = MessageButtons::YesNo,
                                 .icon = MessageIcon::Exclamation,
                                 .title = "Penlark Files"}),
            MessageAnswer::No);

  QTimer::singleShot(0, [] {
    auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->labelText(), "Folder name:");
    EXPECT_EQ(box->textValue(), "New Folder");
    box->setTextValue("Letters");
    box->accept();
  });
  EXPECT_EQ(prompts.InputBox({.prompt = "Folder name:", .defaultText = "New Folder"}), "Letters");
}

TEST(QtPointer, OverridesTheCursorWhileBusyOrHiddenAndRestoresIt) {
  const auto shape = [] {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor != nullptr ? cursor->shape() : Qt::ArrowCursor;
  };
  {
    qt::QtPointer pointer;
    pointer.SetBusy();
    EXPECT_EQ(shape(), Qt::WaitCursor);
    pointer.Hide();
    EXPECT_EQ(shape(), Qt::BlankCursor);
    pointer.SetDefault();
    EXPECT_EQ(shape(), Qt::BlankCursor) << "hidden until shown";
    pointer.Show();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    pointer.SetBusy();
  }
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "restored when the pointer goes";
}

}  // namespace
}  // namespace penlark::testing

#include "conversion/Transform.h"
#include "dialog/OpenDialog.h"
#include "dialog/qt/Artwork.h"
#include "dialog/qt/ImageButtonWidget.h"
#include "dialog/qt/QtDialogView.h"
#include "dialog/qt/QtServices.h"
#include "dialog/qt/Twips.h"
#include "support/TestServer.h"
#include "support/dialog/DialogTestBed.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyle>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

namespace penlark::testing {
namespace {

using qt::ImageButtonWidget;

// The dialog's window on the offscreen platform, over the reference server.
class DialogWindowTest : public ::testing::Test {
 protected:
  DialogWindowTest() : bed(views) {
    server.AddFolder("/docs");
    server.AddFolder("/docs/2004");
    server.AddDocument("/docs/report.rtf", "<Document/>");
    server.AddDocument("/docs/notes.rtf", "<Document/>");
    dialog = &bed.Dialog();
    window = &views.Newest()->Window();
    // Shown without a modal loop; a modal showing draws the window first, as this does.
    views.RefreshAll();
    window->show();
  }

  template <typename Widget>
  Widget* Find(const char* name) {
    auto* widget = window->findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  // Logs in by typing into the fields and clicking Login.
  void LogIn() {
    QLineEdit* serverField = Find<QComboBox>("UrlDomainCombo")->lineEdit();
    serverField->selectAll();
    QTest::keyClicks(serverField, QString::fromStdString(server.ServerText()));
    QTest::keyClicks(Find<QLineEdit>("UsernameText"), "ann");
    QTest::keyClicks(Find<QLineEdit>("PasswordText"), "secret");
    QTest::mouseClick(Find<QPushButton>("LogInButton"), Qt::LeftButton);
  }

  // Logs in through the dialog itself, for tests about what comes after.
  void LoggedIn() {
    dialog->UrlDomainCombo.Text = server.ServerText();
    dialog->UsernameText.Text = "ann";
    dialog->PasswordText.Text = "secret";
    dialog->LogInButton_Click();
    views.RefreshAll();
  }

  QAbstractItemView* VisibleList() {
    return qobject_cast<QAbstractItemView*>(Find<QStackedWidget>("ListView")->currentWidget());
  }

  QPoint CenterOfItem(const QString& text) {
    QAbstractItemView* list = VisibleList();
    const QModelIndexList found = list->model()->match(list->model()->index(0, 0), Qt::DisplayRole,
                                                       text, 1, Qt::MatchExactly);
    EXPECT_EQ(found.size(), 1) << text.toStdString();
    return list->visualRect(found.value(0)).center();
  }

  // What a double-click gives the list: a click, then the double-click.
  void DoubleClick(const QString& text) {
    QAbstractItemView* list = VisibleList();
    const QPoint item = CenterOfItem(text);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, item);
  }

  qt::QtDialogViews views;
  DialogTestBed bed;
  TestServer server;
  OpenDialog* dialog = nullptr;
  QWidget* window = nullptr;
};

TEST_F(DialogWindowTest, ShowsTheFreshlyLoadedDialog) {
  EXPECT_EQ(Find<QTabBar>("TabStrip")->currentIndex(), 1);
  EXPECT_FALSE(Find<QTabBar>("TabStrip")->isEnabled());
  EXPECT_EQ(Find<QTabBar>("TabStrip")->tabText(0), "File");
  EXPECT_EQ(Find<QTabBar>("TabStrip")->tabToolTip(1), "Connection information to Server.");
  EXPECT_TRUE(Find<QWidget>("ConnectionFrame")->isVisible());
  EXPECT_FALSE(Find<QWidget>("OpenFileFrame")->isVisible());
  EXPECT_EQ(Find<QComboBox>("UrlDomainCombo")->currentText(), "Tarnwell server name");
  EXPECT_EQ(Find<QLineEdit>("FilenameText")->text(), "Text1");
  EXPECT_EQ(Find<QPushButton>("OpenButton")->text(), "Open");
  EXPECT_EQ(Find<QCheckBox>("SavePwdCheck")->text(), "Save Password");
  EXPECT_FALSE(Find<ImageButtonWidget>("UpOneLevelImage")->isEnabled());
  EXPECT_EQ(Find<ImageButtonWidget>("UpOneLevelImage")->toolTip(), "Up One Level");
  EXPECT_EQ(window->palette().color(QPalette::Window), QColor(236, 234, 217));
}

TEST_F(DialogWindowTest, PlacesTheImageButtonsWhereTheFormSays) {
  const double dpi = window->logicalDpiX();
  EXPECT_EQ(Find<ImageButtonWidget>("ReloadImage")->geometry(),
            qt::ToPixels(dialog->ReloadImage.Position, dpi));
  EXPECT_EQ(Find<ImageButtonWidget>("PropsImage")->geometry(),
            qt::ToPixels(dialog->PropsImage.Position, dpi));
}

TEST_F(DialogWindowTest, MasksThePasswordWithStars) {
  auto* password = Find<QLineEdit>("PasswordText");
  EXPECT_EQ(password->echoMode(), QLineEdit::Password);
  EXPECT_EQ(password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, password),
            '*');
}

TEST_F(DialogWindowTest, TypedTextReachesTheDialog) {
  QTest::keyClicks(Find<QLineEdit>("UsernameText"), "ann");
  QTest::mouseClick(Find<QCheckBox>("SavePwdCheck"), Qt::LeftButton);
  EXPECT_EQ(dialog->UsernameText.Text, "ann");
  EXPECT_TRUE(dialog->SavePwdCheck.Value);
}

TEST_F(DialogWindowTest, LoggingInShowsTheRootListingOnTheFileTab) {
  LogIn();
  EXPECT_EQ(dialog->TabStrip.SelectedTab, 1);
  EXPECT_EQ(Find<QTabBar>("TabStrip")->currentIndex(), 0);
  EXPECT_TRUE(Find<QTabBar>("TabStrip")->isEnabled());
  EXPECT_TRUE(Find<QWidget>("OpenFileFrame")->isVisible());
  EXPECT_EQ(VisibleList()->model()->rowCount(), 1);
  EXPECT_EQ(VisibleList()->model()->index(0, 0).data().toString(), "docs");
  EXPECT_EQ(Find<QComboBox>("ImageCombo")->currentText(), "/");
}

TEST_F(DialogWindowTest, EachImageButtonShowsTheModelsPicture) {
  dialog->DeleteImage.Picture = 11;
  dialog->PropsImage.Picture = 2;
  views.RefreshAll();
  const qreal ratio = window->devicePixelRatioF();
  EXPECT_EQ(Find<ImageButtonWidget>("DeleteImage")->Picture().cacheKey(),
            qt::ChangesImage(11, ratio).cacheKey());
  EXPECT_EQ(Find<ImageButtonWidget>("PropsImage")->Picture().cacheKey(),
            qt::PropsImage(2, ratio).cacheKey());
}

TEST_F(DialogWindowTest, MovingOverAButtonShowsItsHoverPicture) {
  dialog->RedrawTabStrip(true);
  views.RefreshAll();
  auto* reload = Find<ImageButtonWidget>("ReloadImage");
  QTest::mouseMove(reload, reload->rect().center());
  EXPECT_EQ(dialog->ReloadImage.Picture, 2);
  EXPECT_EQ(reload->Picture().cacheKey(),
            qt::ChangesImage(2, window->devicePixelRatioF()).cacheKey());
}

TEST_F(DialogWindowTest, AReleaseJustOutsideAButtonReachesItsHandlerAndListsNothing) {
  LoggedIn();
  server.ClearRequests();

  auto* reload = Find<ImageButtonWidget>("ReloadImage");
  QTest::mousePress(reload, Qt::LeftButton, {}, reload->rect().center());
  EXPECT_EQ(dialog->PressedButton, 1);
  QTest::mouseRelease(reload, Qt::LeftButton, {}, QPoint(reload->width() + 3, 5));
  EXPECT_EQ(dialog->PressedButton, 0);
  EXPECT_TRUE(server.Requests().empty());
  EXPECT_EQ(dialog->ReloadImage.Picture, 1);

  QTest::mouseClick(reload, Qt::LeftButton, {}, reload->rect().center());
  EXPECT_EQ(server.Requests().size(), 1u);
}

TEST_F(DialogWindowTest, DoubleClickingAFolderEntersIt) {
  LoggedIn();
  DoubleClick("docs");
  EXPECT_EQ(dialog->ImageCombo.Items, (std::vector<std::string>{"/", "/docs"}));
  EXPECT_EQ(Find<QComboBox>("ImageCombo")->currentText(), "/docs");
  EXPECT_EQ(VisibleList()->model()->rowCount(), 3);
}

TEST_F(DialogWindowTest, DoubleClickingTheSpaceAroundTheItemsRunsTheActionButton) {
  LoggedIn();
  QAbstractItemView* list = VisibleList();
  const QPoint empty = list->viewport()->rect().bottomRight() - QPoint(2, 2);
  ASSERT_FALSE(list->indexAt(empty).isValid());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, empty);
  EXPECT_EQ(bed.prompts.MessageTexts(),
            std::vector<std::string>{"Filename is EMPTY,\r\nplease retry."});
}

TEST_F(DialogWindowTest, TheViewsMenuDropsDownUnderTheViewsButtonAndSwitchesTheView) {
  auto* props = Find<ImageButtonWidget>("PropsImage");
  QPoint shownAt;
  QTimer::singleShot(0, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    shownAt = menu->pos();
    menu->setActiveAction(menu->actions().at(3));  // "&Report"
    QTest::keyClick(menu, Qt::Key_Return);
  });
  QTest::mousePress(props, Qt::LeftButton, {}, props->rect().center());
  QTest::mouseRelease(props, Qt::LeftButton, {}, props->rect().center());

  const double dpi = window->logicalDpiX();
  const Rect& button = dialog->PropsImage.Position;
  const QPoint expected = window->mapToGlobal(qt::ToPixels(
      button.Left, dialog->OpenFileFrame.Position.Top + button.Top + button.Height, dpi));
  EXPECT_EQ(shownAt, expected);
  EXPECT_EQ(dialog->ListView.View, ListViewMode::Report);
  EXPECT_TRUE(dialog->menuReport.Checked);
  EXPECT_TRUE(qobject_cast<QTreeView*>(VisibleList()) != nullptr);
}

TEST_F(DialogWindowTest, TheFourViewModes) {
  dialog->menuIcons_Click();
  views.RefreshAll();
  auto* icons = qobject_cast<QListView*>(VisibleList());
  ASSERT_NE(icons, nullptr);
  EXPECT_EQ(icons->viewMode(), QListView::IconMode);
  EXPECT_EQ(icons->iconSize(), QSize(32, 32));

  dialog->menuSmallIcons_Click();
  views.RefreshAll();
  auto* small = qobject_cast<QListView*>(VisibleList());
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(small->viewMode(), QListView::ListMode);
  EXPECT_EQ(small->iconSize(), QSize(16, 16));
  EXPECT_EQ(small->flow(), QListView::LeftToRight);

  dialog->menuList_Click();
  views.RefreshAll();
  auto* list = qobject_cast<QListView*>(VisibleList());
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->flow(), QListView::TopToBottom);

  dialog->menuReport_Click();
  views.RefreshAll();
  auto* report = qobject_cast<QTreeView*>(VisibleList());
  ASSERT_NE(report, nullptr);
  EXPECT_EQ(report->model()->headerData(0, Qt::Horizontal).toString(), "Name");
  EXPECT_EQ(report->model()->headerData(1, Qt::Horizontal).toString(), "Size");
  EXPECT_EQ(report->model()->headerData(2, Qt::Horizontal).toString(), "Last Modified");
}

TEST_F(DialogWindowTest, KeysRunTheHandlersTheMouseUses) {
  LoggedIn();
  DoubleClick("docs");
  ASSERT_EQ(dialog->ImageCombo.Items.size(), 2u);
  server.ClearRequests();

  QApplication::setActiveWindow(window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  QTest::keyClick(window, Qt::Key_F5);
  EXPECT_EQ(server.Requests().size(), 1u) << "F5 refreshes";

  VisibleList()->setFocus();
  bed.prompts.AnswerNext(MessageAnswer::No);
  QTest::keyClick(VisibleList(), Qt::Key_Delete);
  EXPECT_EQ(bed.prompts.MessageTexts().back(), "Delete 2004 from Tarnwell server?");

  QTest::keyClick(VisibleList(), Qt::Key_Backspace);
  EXPECT_EQ(dialog->ImageCombo.Items, std::vector<std::string>{"/"}) << "Backspace goes up";
  EXPECT_EQ(dialog->PressedButton, 0);
}

TEST_F(DialogWindowTest, EscapeIsCancel) {
  bed.Context().Server().CurrentFile = "x";
  QTest::keyClick(window, Qt::Key_Escape);
  EXPECT_FALSE(bed.Context().IsDialogLoaded());
  EXPECT_EQ(bed.Context().Server().CurrentFile, "");
}

TEST_F(DialogWindowTest, TheCloseBoxUnloadsAndKeepsTheCurrentFile) {
  bed.Context().Server().CurrentFile = "x";
  window->close();
  EXPECT_FALSE(bed.Context().IsDialogLoaded());
  EXPECT_EQ(bed.Context().Server().CurrentFile, "x");
}

TEST_F(DialogWindowTest, TheLabelsAcceleratorsReachTheirFields) {
  dialog->RedrawTabStrip(true);
  views.RefreshAll();
  QApplication::setActiveWindow(window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  QTest::keyClick(window, Qt::Key_N, Qt::AltModifier);
  EXPECT_TRUE(Find<QLineEdit>("FilenameText")->hasFocus());
}

TEST_F(DialogWindowTest, ARefusedAutomaticLoginLeavesTheFocusInThePasswordBox) {
  LoggedIn();
  dialog->Cancel_Click();                             // the history holds ann without a password
  Component next(bed.ServicesWith(bed.word, views));  // a component that knows no password
  const OpenDialog& fresh = next.Context().Dialog();
  QWidget& shown = views.Newest()->Window();
  views.RefreshAll();
  shown.show();
  QApplication::setActiveWindow(&shown);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&shown));
  EXPECT_EQ(fresh.TabStrip.SelectedTab, 2);
  EXPECT_TRUE(shown.findChild<QLineEdit*>("PasswordText")->hasFocus());
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
}

}  // namespace
}  // namespace penlark::testing

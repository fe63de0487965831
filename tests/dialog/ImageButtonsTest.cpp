#include "dialog/OpenDialog.h"
#include "support/dialog/DialogTestBed.h"

#include <gtest/gtest.h>

namespace penlark::testing {
namespace {

// The pictures of the image buttons as the pointer moves over them, presses and releases; no
// server is needed for these.
class ImageButtonsTest : public ::testing::Test {
 protected:
  ImageButtonsTest() : dialog(bed.Dialog()) {}

  // Moving over a button shows its hover picture; any mouse button pressed on it shows the
  // pressed picture and records its code.
  void ExpectHoverAndPressed(const ImageButton& button, MouseHandler move, MouseHandler down,
                             int hover, int pressed, std::int16_t code) {
    dialog.PressedButton = 0;
    (dialog.*move)(0, 0, 0, 0);
    EXPECT_EQ(button.Picture, hover);
    (dialog.*down)(kRightButton, 0, 0, 0);
    EXPECT_EQ(button.Picture, pressed);
    EXPECT_EQ(dialog.PressedButton, code);
  }

  DialogTestBed bed;
  OpenDialog& dialog;
};

TEST_F(ImageButtonsTest, EveryButtonHasItsOwnPicturesAndCode) {
  ExpectHoverAndPressed(dialog.ReloadImage, &OpenDialog::ReloadImage_MouseMove,
                        &OpenDialog::ReloadImage_MouseDown, 2, 3, 1);
  ExpectHoverAndPressed(dialog.UpOneLevelImage, &OpenDialog::UpOneLevelImage_MouseMove,
                        &OpenDialog::UpOneLevelImage_MouseDown, 6, 7, 2);
  ExpectHoverAndPressed(dialog.DeleteImage, &OpenDialog::DeleteImage_MouseMove,
                        &OpenDialog::DeleteImage_MouseDown, 10, 11, 3);
  ExpectHoverAndPressed(dialog.CreateFolderImage, &OpenDialog::CreateFolderImage_MouseMove,
                        &OpenDialog::CreateFolderImage_MouseDown, 14, 15, 4);
}

TEST_F(ImageButtonsTest, AnotherButtonPressedShowsOnlyHover) {
  dialog.ReloadImage_MouseDown(kLeftButton, 0, 10, 10);
  dialog.CreateFolderImage_MouseMove(kLeftButton, 0, 10, 10);
  EXPECT_EQ(dialog.CreateFolderImage.Picture, 14);
}

TEST_F(ImageButtonsTest, NormalizeImagesAtTheRootWithoutListing) {
  dialog.ReloadImage.Picture = 2;
  dialog.PropsImage.Picture = 3;
  dialog.OpenFileFrame_MouseMove(0, 0, 0, 0);
  EXPECT_EQ(dialog.ReloadImage.Picture, 1);
  EXPECT_EQ(dialog.UpOneLevelImage.Picture, 8);
  EXPECT_FALSE(dialog.UpOneLevelImage.Enabled);
  EXPECT_EQ(dialog.DeleteImage.Picture, 12);
  EXPECT_FALSE(dialog.DeleteImage.Enabled);
  EXPECT_EQ(dialog.CreateFolderImage.Picture, 13);
  EXPECT_TRUE(dialog.CreateFolderImage.Enabled);
  EXPECT_EQ(dialog.PropsImage.Picture, 1);
}

TEST_F(ImageButtonsTest, NormalizeImagesInAFolderEnablesUpOneLevel) {
  dialog.ImageCombo.Items = {"/", "/docs"};
  dialog.ImageCombo.Select(1);
  dialog.ListView_MouseMove(0, 0, 0, 0);
  EXPECT_EQ(dialog.UpOneLevelImage.Picture, 5);
  EXPECT_TRUE(dialog.UpOneLevelImage.Enabled);
}

TEST_F(ImageButtonsTest, NormalizeImagesWithAnEmptiedTrailDisablesUpAndCreate) {
  dialog.ImageCombo.Clear();
  dialog.OpenFileFrame_MouseMove(0, 0, 0, 0);
  EXPECT_EQ(dialog.UpOneLevelImage.Picture, 8);
  EXPECT_FALSE(dialog.UpOneLevelImage.Enabled);
  EXPECT_EQ(dialog.CreateFolderImage.Picture, 16);
  EXPECT_FALSE(dialog.CreateFolderImage.Enabled);
}

TEST_F(ImageButtonsTest, NormalizeImagesLeavesPressedButtonAlone) {
  dialog.DeleteImage_MouseDown(kLeftButton, 0, 0, 0);
  dialog.OpenFileFrame_MouseMove(0, 0, 0, 0);
  EXPECT_EQ(dialog.PressedButton, 3);
}

TEST_F(ImageButtonsTest, ViewsButtonHoverComesAfterNormalizing) {
  dialog.ReloadImage.Picture = 2;
  dialog.PropsImage_MouseMove(0, 0, 9999, 9999);
  EXPECT_EQ(dialog.ReloadImage.Picture, 1);
  EXPECT_EQ(dialog.PropsImage.Picture, 2);
}

TEST_F(ImageButtonsTest, ViewsButtonWithTheRightButtonShowsPressedAndNoMenu) {
  dialog.PropsImage_MouseDown(kRightButton, 0, 10, 10);
  EXPECT_EQ(dialog.PropsImage.Picture, 3);
  EXPECT_TRUE(bed.views.MenuPositions().empty());
  EXPECT_EQ(dialog.PressedButton, 0);
}

TEST_F(ImageButtonsTest, ViewMenuDropsDownBelowTheViewsButtonAndSwitchesTheMode) {
  bed.views.ChooseFromViewMenu(&OpenDialog::menuReport_Click);
  dialog.PropsImage_MouseDown(kLeftButton, 0, 10, 10);
  const Rect& views = dialog.PropsImage.Position;
  ASSERT_EQ(bed.views.MenuPositions().size(), 1u);
  EXPECT_EQ(
      bed.views.MenuPositions()[0],
      std::make_pair(views.Left, dialog.OpenFileFrame.Position.Top + views.Top + views.Height));
  EXPECT_EQ(dialog.ListView.View, ListViewMode::Report);
  EXPECT_TRUE(dialog.menuReport.Checked);
  EXPECT_FALSE(dialog.menuIcons.Checked);
  EXPECT_FALSE(dialog.menuPopup.Visible);
  EXPECT_EQ(dialog.PropsImage.Picture, 1);
}

TEST_F(ImageButtonsTest, ViewMenuClosedWithoutAChoiceLeavesThePressedPicture) {
  bed.views.ChooseFromViewMenu(nullptr);
  dialog.PropsImage_MouseDown(kLeftButton, 0, 10, 10);
  EXPECT_EQ(dialog.PropsImage.Picture, 3);
  EXPECT_EQ(dialog.ListView.View, ListViewMode::Icons);
  EXPECT_TRUE(dialog.menuIcons.Checked);
}

TEST_F(ImageButtonsTest, ExactlyOneViewIsCheckedAtATime) {
  EXPECT_TRUE(dialog.menuIcons.Checked);
  dialog.menuSmallIcons_Click();
  dialog.menuList_Click();
  EXPECT_EQ(dialog.ListView.View, ListViewMode::List);
  const bool checks[] = {dialog.menuIcons.Checked, dialog.menuSmallIcons.Checked,
                         dialog.menuList.Checked, dialog.menuReport.Checked};
  EXPECT_EQ(std::count(std::begin(checks), std::end(checks), true), 1);
  EXPECT_TRUE(dialog.menuList.Checked);
  dialog.menuIcons_Click();
  EXPECT_EQ(dialog.ListView.View, ListViewMode::Icons);
}

}  // namespace
}  // namespace penlark::testing

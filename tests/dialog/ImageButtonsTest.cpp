#include "dialog/OpenDialog.h"
#include "support/dialog/DialogTestBed.h"

#include <functional>

#include <gtest/gtest.h>

namespace penlark::testing {
namespace {

// The pictures of the image buttons as the pointer moves over them, presses and releases; no
// server is needed for these.
class ImageButtonsTest : public ::testing::Test {
 protected:
  ImageButtonsTest() : dialog(bed.Dialog()) {}

  DialogTestBed bed;
  OpenDialog& dialog;
};

// Moving over a button shows its hover picture; any mouse button pressed on it shows the pressed
// picture and records its code; moving over it while another button is pressed shows only hover.
TEST_F(ImageButtonsTest, EveryButtonHasItsOwnPicturesAndCode) {
  const struct {
    ImageButton OpenDialog::*button;
    MouseHandler move;
    MouseHandler down;
    ButtonPictures pictures;
    std::int16_t code;
  } buttons[] = {
      {&OpenDialog::ReloadImage, &OpenDialog::ReloadImage_MouseMove,
       &OpenDialog::ReloadImage_MouseDown, kReloadPictures, 1},
      {&OpenDialog::UpOneLevelImage, &OpenDialog::UpOneLevelImage_MouseMove,
       &OpenDialog::UpOneLevelImage_MouseDown, kUpOneLevelPictures, 2},
      {&OpenDialog::DeleteImage, &OpenDialog::DeleteImage_MouseMove,
       &OpenDialog::DeleteImage_MouseDown, kDeletePictures, 3},
      {&OpenDialog::CreateFolderImage, &OpenDialog::CreateFolderImage_MouseMove,
       &OpenDialog::CreateFolderImage_MouseDown, kCreateFolderPictures, 4},
  };
  for (const auto& row : buttons) {
    const ImageButton& button = dialog.*row.button;
    SCOPED_TRACE(button.ToolTipText);
    dialog.PressedButton = row.code == 1 ? 4 : 1;
    std::invoke(row.move, dialog, 0, 0, 10, 10);
    EXPECT_EQ(button.Picture, row.pictures.Hover) << "another button is pressed";
    dialog.PressedButton = 0;
    std::invoke(row.move, dialog, 0, 0, 0, 0);
    EXPECT_EQ(button.Picture, row.pictures.Hover);
    std::invoke(row.down, dialog, kRightButton, 0, 0, 0);
    EXPECT_EQ(button.Picture, row.pictures.Pressed);
    EXPECT_EQ(dialog.PressedButton, row.code);
  }
}

// Moving over the frame or the list puts every button back to rest, disabling those that cannot
// act; a pressed button stays recorded.
TEST_F(ImageButtonsTest, NormalizeImagesFollowsTheTrailAndTheListing) {
  dialog.ReloadImage.Picture = kReloadPictures.Hover;
  dialog.PropsImage.Picture = kViewsPictures.Hover;
  dialog.DeleteImage_MouseDown(kLeftButton, 0, 0, 0);
  dialog.OpenFileFrame_MouseMove(0, 0, 0, 0);
  EXPECT_EQ(dialog.PressedButton, 3);
  EXPECT_EQ(dialog.ReloadImage.Picture, kReloadPictures.Normal);
  EXPECT_EQ(dialog.UpOneLevelImage.Picture, kUpOneLevelPictures.Disabled) << "at the root";
  EXPECT_FALSE(dialog.UpOneLevelImage.Enabled);
  EXPECT_EQ(dialog.DeleteImage.Picture, kDeletePictures.Disabled) << "nothing listed";
  EXPECT_FALSE(dialog.DeleteImage.Enabled);
  EXPECT_EQ(dialog.CreateFolderImage.Picture, kCreateFolderPictures.Normal);
  EXPECT_TRUE(dialog.CreateFolderImage.Enabled);
  EXPECT_EQ(dialog.PropsImage.Picture, kViewsPictures.Normal);

  dialog.ImageCombo.Items = {"/", "/docs"};
  dialog.ImageCombo.Select(1);
  dialog.ListView_MouseMove(0, 0, 0, 0);
  EXPECT_EQ(dialog.UpOneLevelImage.Picture, kUpOneLevelPictures.Normal);
  EXPECT_TRUE(dialog.UpOneLevelImage.Enabled);

  dialog.ImageCombo.Clear();
  dialog.OpenFileFrame_MouseMove(0, 0, 0, 0);
  EXPECT_EQ(dialog.UpOneLevelImage.Picture, kUpOneLevelPictures.Disabled);
  EXPECT_FALSE(dialog.UpOneLevelImage.Enabled);
  EXPECT_EQ(dialog.CreateFolderImage.Picture, kCreateFolderPictures.Disabled);
  EXPECT_FALSE(dialog.CreateFolderImage.Enabled);
}

TEST_F(ImageButtonsTest, ViewsButtonHoverComesAfterNormalizing) {
  dialog.ReloadImage.Picture = kReloadPictures.Hover;
  dialog.PropsImage_MouseMove(0, 0, 9999, 9999);
  EXPECT_EQ(dialog.ReloadImage.Picture, kReloadPictures.Normal);
  EXPECT_EQ(dialog.PropsImage.Picture, kViewsPictures.Hover);
}

TEST_F(ImageButtonsTest, ViewsButtonWithTheRightButtonShowsPressedAndNoMenu) {
  dialog.PropsImage_MouseDown(kRightButton, 0, 10, 10);
  EXPECT_EQ(dialog.PropsImage.Picture, kViewsPictures.Pressed);
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
  EXPECT_EQ(dialog.PropsImage.Picture, kViewsPictures.Normal);
}

TEST_F(ImageButtonsTest, ViewMenuClosedWithoutAChoiceLeavesThePressedPicture) {
  bed.views.ChooseFromViewMenu(nullptr);
  dialog.PropsImage_MouseDown(kLeftButton, 0, 10, 10);
  EXPECT_EQ(dialog.PropsImage.Picture, kViewsPictures.Pressed);
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

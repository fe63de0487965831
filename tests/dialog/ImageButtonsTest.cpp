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
  DialogTestBed bed;
  OpenDialog& dialog = bed.Dialog();
};

// Hover while another button is pressed, hover, pressed with any mouse button and its code,
// dragged off (back to rest), dragged back on (pressed again).
TEST_F(ImageButtonsTest, EveryButtonHasItsOwnPicturesAndCode) {
  dialog.ImageCombo.Items = {"/", "/docs"};
  dialog.ImageCombo.Select(1);
  for (const FolderButton& row : kFolderButtons) {
    const ImageButton& button = dialog.*row.control;
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
    std::invoke(row.move, dialog, kLeftButton, 0, 400, 100);
    EXPECT_EQ(button.Picture, row.code == 3 ? kDeletePictures.Disabled : row.pictures.Normal);
    std::invoke(row.move, dialog, kLeftButton, 0, 360, 360);
    EXPECT_EQ(button.Picture, row.pictures.Pressed);
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

TEST_F(ImageButtonsTest, TheViewsButtonDropsTheViewMenuDownWithTheLeftButtonOnly) {
  dialog.ReloadImage.Picture = kReloadPictures.Hover;
  dialog.PropsImage_MouseMove(0, 0, 9999, 9999);
  EXPECT_EQ(dialog.ReloadImage.Picture, kReloadPictures.Normal);
  EXPECT_EQ(dialog.PropsImage.Picture, kViewsPictures.Hover);
  dialog.PropsImage_MouseDown(kRightButton, 0, 10, 10);
  EXPECT_EQ(dialog.PropsImage.Picture, kViewsPictures.Pressed);
  EXPECT_TRUE(bed.views.MenuPositions().empty());
  EXPECT_EQ(dialog.PressedButton, 0);

  bed.views.ChooseFromViewMenu(nullptr).ChooseFromViewMenu(&OpenDialog::menuReport_Click);
  dialog.PropsImage_MouseDown(kLeftButton, 0, 10, 10);
  EXPECT_EQ(dialog.PropsImage.Picture, kViewsPictures.Pressed) << "closed without a choice";
  EXPECT_EQ(dialog.ListView.View, ListViewMode::Icons);
  dialog.PropsImage_MouseDown(kLeftButton, 0, 10, 10);
  const Rect& views = dialog.PropsImage.Position;
  EXPECT_EQ(bed.views.MenuPositions(),
            (std::vector<std::pair<int, int>>(
                2, {views.Left, dialog.OpenFileFrame.Position.Top + views.Top + views.Height})));
  EXPECT_EQ(dialog.ListView.View, ListViewMode::Report);
  EXPECT_EQ((std::vector<bool>{dialog.menuIcons.Checked, dialog.menuSmallIcons.Checked,
                               dialog.menuList.Checked, dialog.menuReport.Checked}),
            (std::vector<bool>{false, false, false, true}));
  EXPECT_FALSE(dialog.menuPopup.Visible);
  EXPECT_EQ(dialog.PropsImage.Picture, kViewsPictures.Normal);
}

}  // namespace
}  // namespace penlark::testing

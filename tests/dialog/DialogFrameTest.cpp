#include "dialog/OpenDialog.h"
#include "support/Offices.h"
#include "support/dialog/DialogTestBed.h"

#include <gtest/gtest.h>

namespace penlark::testing {
namespace {

class DialogFrameTest : public ::testing::Test {
 protected:
  DialogTestBed bed;
};

TEST_F(DialogFrameTest, FirstReferenceLoadsTheDialogOnTheConnectionTab) {
  EXPECT_FALSE(bed.Context().IsDialogLoaded());
  OpenDialog& dialog = bed.Dialog();
  EXPECT_TRUE(bed.Context().IsDialogLoaded());
  EXPECT_EQ(dialog.TabStrip.SelectedTab, 2);
  EXPECT_FALSE(dialog.TabStrip.Enabled);
  EXPECT_TRUE(dialog.ConnectionFrame.Visible);
  EXPECT_FALSE(dialog.OpenFileFrame.Visible);
  EXPECT_EQ(dialog.ImageCombo.Items, std::vector<std::string>{"/"});
  EXPECT_EQ(dialog.ImageCombo.SelectedIndex, 0);
  EXPECT_EQ(dialog.UpOneLevelImage.Picture, 8);
  EXPECT_FALSE(dialog.UpOneLevelImage.Enabled);
  EXPECT_FALSE(dialog.menuData.Visible);
  EXPECT_EQ(dialog.FilenameText.Text, "Text1");
  EXPECT_EQ(dialog.UrlDomainCombo.Text, "Tarnwell server name");
  EXPECT_EQ(dialog.WorkDir, bed.WorkDir());
  for (const std::optional<Color>& color :
       {dialog.OpenFileFrame.BackColor, dialog.TabStrip.BackColor, dialog.LookInLabel.BackColor,
        dialog.FilenameLabel.BackColor, dialog.OpenButton.BackColor, dialog.Cancel.BackColor}) {
    EXPECT_EQ(color, (Color{236, 234, 217}));
  }
  EXPECT_TRUE(bed.prompts.Messages().empty());
}

TEST_F(DialogFrameTest, MissingInstallPathGivesTheUsersOwnWorkDir) {
#ifdef _WIN32
  ScopedEnv dataHome("LOCALAPPDATA", (bed.temp / "data").string());
#else
  ScopedEnv dataHome("XDG_DATA_HOME", (bed.temp / "data").string());
#endif
  DialogServices services = bed.ServicesWith(bed.word);
  services.machine.installPath.clear();
  Component component(services);
  EXPECT_EQ(component.Context().Dialog().WorkDir,
            (UsersWorkFolder(bed.temp / "data") / "").string());
}

TEST_F(DialogFrameTest, SetMouseCursorFollowsItsTable) {
  OpenDialog& dialog = bed.Dialog();
  const struct {
    int status;
    bool result;
    bool busy;
    bool hidden;
  } rows[] = {{1, true, true, false},  {1, true, true, false},   {0, true, false, false},
              {2, true, false, true},  {3, true, false, false},  {1, true, true, false},
              {4, false, true, false}, {-1, false, true, false}, {2, true, true, true},
              {-1, false, true, true}};
  for (const auto& row : rows) {
    EXPECT_EQ(dialog.SetMouseCursor(row.status), row.result) << row.status;
    EXPECT_EQ(bed.pointer.IsBusy(), row.busy) << row.status;
    EXPECT_EQ(bed.pointer.IsHidden(), row.hidden) << row.status;
  }
}

// Cancel forgets the file chosen before; the close box keeps it. Either unloads the dialog, and
// the next reference loads a fresh one.
TEST_F(DialogFrameTest, CancelAndTheCloseBoxUnloadTheDialog) {
  for (const auto& [handler, kept] : {std::pair{&OpenDialog::Cancel_Click, ""},
                                      std::pair{&OpenDialog::Form_QueryUnload, "report.rtf"}}) {
    bed.Dialog().FilenameText.Text = "changed";
    bed.Context().Server().CurrentFile = "report.rtf";
    (bed.Dialog().*handler)();
    EXPECT_FALSE(bed.Context().IsDialogLoaded());
    EXPECT_EQ(bed.Context().Server().CurrentFile, kept);
    EXPECT_EQ(bed.Dialog().FilenameText.Text, "Text1");
  }
}

}  // namespace
}  // namespace penlark::testing

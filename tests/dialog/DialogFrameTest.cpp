#include "dialog/OpenDialog.h"
#include "support/dialog/DialogTestBed.h"

#include <gtest/gtest.h>

namespace penlark::testing {
namespace {

constexpr Color kFrameColor{236, 234, 217};

class DialogFrameTest : public ::testing::Test {
 protected:
  DialogTestBed bed;
};

TEST_F(DialogFrameTest, FirstReferenceLoadsTheDialogOnTheConnectionTab) {
  EXPECT_FALSE(bed.Context().IsDialogLoaded());
  OpenDialog& dialog = bed.Dialog();
  EXPECT_TRUE(bed.Context().IsDialogLoaded());
  EXPECT_EQ(bed.views.ViewsCreated(), 1);

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
  EXPECT_TRUE(bed.prompts.Messages().empty());
}

TEST_F(DialogFrameTest, LoadPaintsTheFrameColour) {
  OpenDialog& dialog = bed.Dialog();
  EXPECT_EQ(dialog.OpenFileFrame.BackColor, kFrameColor);
  EXPECT_EQ(dialog.TabStrip.BackColor, kFrameColor);
  EXPECT_EQ(dialog.LookInLabel.BackColor, kFrameColor);
  EXPECT_EQ(dialog.FilenameLabel.BackColor, kFrameColor);
  EXPECT_EQ(dialog.OpenButton.BackColor, kFrameColor);
  EXPECT_EQ(dialog.Cancel.BackColor, kFrameColor);
}

TEST_F(DialogFrameTest, MissingInstallPathGivesTheUsersOwnWorkDir) {
  ScopedEnv dataHome("XDG_DATA_HOME", (bed.temp / "data").string());
  DialogServices services = bed.ServicesWith(bed.word);
  services.machine.installPath.clear();
  Component component(services);
  EXPECT_EQ(component.Context().Dialog().WorkDir, (bed.temp / "data/penlark/work/").string());
}

TEST_F(DialogFrameTest, SetMouseCursorFollowsItsTable) {
  OpenDialog& dialog = bed.Dialog();
  EXPECT_TRUE(dialog.SetMouseCursor(1));
  EXPECT_TRUE(dialog.SetMouseCursor(1));
  EXPECT_TRUE(bed.pointer.IsBusy());
  EXPECT_TRUE(dialog.SetMouseCursor(0));
  EXPECT_FALSE(bed.pointer.IsBusy());
  EXPECT_TRUE(dialog.SetMouseCursor(2));
  EXPECT_TRUE(bed.pointer.IsHidden());
  EXPECT_TRUE(dialog.SetMouseCursor(3));
  EXPECT_FALSE(bed.pointer.IsHidden());

  const auto callsBefore = bed.pointer.Calls().size();
  EXPECT_FALSE(dialog.SetMouseCursor(4));
  EXPECT_FALSE(dialog.SetMouseCursor(-1));
  EXPECT_EQ(bed.pointer.Calls().size(), callsBefore);
}

TEST_F(DialogFrameTest, CancelClearsTheCurrentFileAndUnloads) {
  bed.Dialog();
  bed.Context().Server().CurrentFile = "report.rtf";
  bed.Dialog().Cancel_Click();
  EXPECT_FALSE(bed.Context().IsDialogLoaded());
  EXPECT_EQ(bed.Context().Server().CurrentFile, "");
}

TEST_F(DialogFrameTest, CloseBoxUnloadsButKeepsTheCurrentFile) {
  bed.Dialog();
  bed.Context().Server().CurrentFile = "report.rtf";
  bed.Dialog().Form_QueryUnload();
  EXPECT_FALSE(bed.Context().IsDialogLoaded());
  EXPECT_EQ(bed.Context().Server().CurrentFile, "report.rtf");
}

TEST_F(DialogFrameTest, NextReferenceAfterUnloadLoadsAFreshDialog) {
  bed.Dialog().FilenameText.Text = "changed";
  bed.Dialog().Cancel_Click();
  EXPECT_EQ(bed.Dialog().FilenameText.Text, "Text1");
  EXPECT_EQ(bed.views.ViewsCreated(), 2);
}

TEST_F(DialogFrameTest, ShowingRunsTheScriptUntilTheDialogIsUnloaded) {
  bed.views.Then(Type(&OpenDialog::FilenameText, "typed")).Then(Call(&OpenDialog::Cancel_Click));
  bed.Context().ShowDialog();
  EXPECT_FALSE(bed.Context().IsDialogLoaded());
  EXPECT_EQ(bed.views.Showings(), 1);
  EXPECT_TRUE(bed.views.ScriptDone());
}

TEST_F(DialogFrameTest, HelpOpensTheInstalledPage) {
  bed.Dialog().Help();
  EXPECT_EQ(bed.shell.Opened(),
            std::vector<std::string>{bed.InstallPath().string() + "/docs/running.html"});
}

}  // namespace
}  // namespace penlark::testing

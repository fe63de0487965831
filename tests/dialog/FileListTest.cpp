#include "DialogRules.h"

namespace penlark::testing {
namespace {

// Icons by type; the first entry selected and Delete enabled with two or more; false and an
// empty list, Delete as it was, with none. The next movement over the frame enables Delete
// whenever something is listed. Every listing empties the file name under the busy pointer.
TEST_F(DialogRulesTest, AListingShowsItsEntries) {
  server.Add("/one", "odd", 7);
  server.Add("/two", "folder", kFolderType);
  server.Add("/two", "document");
  OpenDialog& dialog = LoggedIn();
  const auto [normal, disabled] = std::pair(kDeletePictures.Normal, kDeletePictures.Disabled);
  const struct {
    const char* dir;
    std::vector<ListItem> items;
    int selected;
    std::pair<int, bool> deleteListed, deleteMoved;
  } rows[] = {
      {"/one", {{"odd", kDocumentIcon, kDocumentIcon}}, -1, {disabled, false}, {normal, true}},
      {"/two",
       {{"folder", kFolderIcon, kFolderIcon}, {"document", kDocumentIcon, kDocumentIcon}},
       0,
       {normal, true},
       {normal, true}},
      {"/empty", {}, -1, {normal, true}, {disabled, false}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.dir);
    dialog.FilenameText.Text = "typed";
    EXPECT_EQ(dialog.RedrawFiles(row.dir), !row.items.empty());
    EXPECT_EQ(dialog.ListView.Items, row.items);
    EXPECT_EQ(dialog.ListView.SelectedIndex, row.selected);
    EXPECT_EQ(dialog.FilenameText.Text, "");
    EXPECT_FALSE(bed.pointer.IsBusy());
    EXPECT_EQ(std::pair(dialog.DeleteImage.Picture, dialog.DeleteImage.Enabled), row.deleteListed);
    dialog.OpenFileFrame_MouseMove(0, 0, 0, 0);
    EXPECT_EQ(std::pair(dialog.DeleteImage.Picture, dialog.DeleteImage.Enabled), row.deleteMoved);
  }
}

// Entered by a double-click or by its typed name in either mode, left through the trail or Up
// One Level, which stops at the root.
TEST_F(DialogRulesTest, TheTrailFollowsTheFoldersEnteredAndLeft) {
  OpenDialog& dialog = LoggedIn();
  dialog.ListView_ItemClick(2);
  EXPECT_EQ(dialog.FilenameText.Text, "report.rtf");
  dialog.OpenButton.Caption = kSaveMode;
  dialog.FilenameText.Text = "  docs ";
  dialog.OpenButton_Click();
  EXPECT_EQ(dialog.ImageCombo.Items, (std::vector<std::string>{"/", "/docs"}));
  EXPECT_EQ(dialog.UpOneLevelImage.Picture, kUpOneLevelPictures.Normal);
  EXPECT_TRUE(dialog.UpOneLevelImage.Enabled);
  DoubleClickItem("2004")(dialog);
  EXPECT_EQ(dialog.ImageCombo.Items, (std::vector<std::string>{"/", "/docs", "/docs/2004"}));
  EXPECT_EQ(dialog.ImageCombo.SelectedIndex, 2);
  EXPECT_EQ(server.asked,
            (std::vector<std::string>{"getFiles /", "getFiles /docs", "getFiles /docs/2004"}));
  EXPECT_EQ(ItemTexts(dialog), (std::vector<std::string>{"april.rtf", "march.rtf"}));
  EXPECT_EQ(dialog.FilenameText.Text, "") << "the folder's name does not stay in the box";
  EXPECT_TRUE(bed.prompts.Messages().empty());

  server.asked.clear();
  dialog.ListView.SelectedIndex = -1;
  for (const int index : {2, 0}) {
    dialog.ImageCombo.Select(index);
    dialog.ImageCombo_Click();
    EXPECT_EQ(dialog.ListView.SelectedIndex, 0);
  }
  EXPECT_EQ(dialog.ImageCombo.Items, std::vector<std::string>{"/"});
  EXPECT_EQ(server.asked, std::vector<std::string>{"getFiles /"}) << "only the root again";

  dialog.OpenButton.Caption = kOpenMode;
  DoubleClickItem("docs")(dialog);
  DoubleClickItem("2004")(dialog);
  kUpOneLevelButton.Click(dialog);
  EXPECT_EQ(dialog.ImageCombo.Items, (std::vector<std::string>{"/", "/docs"}));
  EXPECT_EQ(ItemTexts(dialog), (std::vector<std::string>{"2004", "notes.rtf", "report.rtf"}));
  EXPECT_TRUE(dialog.UpOneLevelImage.Enabled);
  for (int click = 0; click < 2; ++click) {
    kUpOneLevelButton.Click(dialog);
    EXPECT_EQ(dialog.ImageCombo.Items, std::vector<std::string>{"/"});
  }
  EXPECT_EQ(dialog.UpOneLevelImage.Picture, kUpOneLevelPictures.Disabled);
  EXPECT_FALSE(dialog.UpOneLevelImage.Enabled);
  EXPECT_EQ(dialog.PressedButton, 0);
}

// The buttons that act on a folder rest disabled while the trail has no selection.
TEST_F(DialogRulesTest, AFolderWhoseListingFailsIsStillAppendedToTheEmptiedTrail) {
  OpenDialog& dialog = LoggedIn();
  server.FailNext(FakeServer::Failure::Internal, "ERROR 13: Type mismatch");
  DoubleClickItem("docs")(dialog);
  EXPECT_EQ(dialog.ImageCombo.Items, std::vector<std::string>{"/docs"});
  EXPECT_FALSE(dialog.ImageCombo.HasSelection());
  EXPECT_EQ(bed.prompts.MessageTexts(), std::vector<std::string>{"ERROR 13: Type mismatch"});
  dialog.ReloadImage.Picture = kReloadPictures.Hover;
  dialog.ListView_MouseMove(0, 0, 10, 10);
  EXPECT_EQ(dialog.ReloadImage.Picture, kReloadPictures.Normal);
  EXPECT_EQ(std::pair(dialog.UpOneLevelImage.Picture, dialog.UpOneLevelImage.Enabled),
            std::pair(kUpOneLevelPictures.Disabled, false));
  EXPECT_EQ(std::pair(dialog.CreateFolderImage.Picture, dialog.CreateFolderImage.Enabled),
            std::pair(kCreateFolderPictures.Disabled, false));
}

}  // namespace
}  // namespace penlark::testing

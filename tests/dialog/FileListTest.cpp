#include "DialogSessionTest.h"
#include "dialog/OpenDialog.h"

namespace penlark::testing {
namespace {

class FileListTest : public DialogSessionTest {
 protected:
  FileListTest() {
    server.AddFolder("/docs");
    server.AddFolder("/docs/2004");
    AddRtfDocument("/docs/2004/march.rtf", "{\\rtf1 march}");
    AddRtfDocument("/docs/2004/april.rtf", "{\\rtf1 april}");
    AddRtfDocument("/docs/only.rtf", "{\\rtf1 only}");
    AddRtfDocument("/report.rtf", "{\\rtf1 report}");
    server.AddFolder("/empty");
  }

  std::vector<std::string> Trail() { return bed.Dialog().ImageCombo.Items; }
};

TEST_F(FileListTest, FoldersAndDocumentsShowTheirIcons) {
  OpenDialog& dialog = LoggedInDialog();
  ASSERT_EQ(dialog.ListView.Items.size(), 3u);
  for (const ListItem& item : dialog.ListView.Items) {
    const bool folder = item.Text == "docs" || item.Text == "empty";
    EXPECT_EQ(item.Icon, folder ? kFolderIcon : kDocumentIcon) << item.Text;
    EXPECT_EQ(item.SmallIcon, item.Icon) << item.Text;
  }
}

TEST_F(FileListTest, SeveralEntriesSelectTheFirstAndEnableDelete) {
  OpenDialog& dialog = LoggedInDialog();
  EXPECT_EQ(dialog.ListView.SelectedIndex, 0);
  EXPECT_TRUE(dialog.DeleteImage.Enabled);
  EXPECT_EQ(dialog.DeleteImage.Picture, kDeletePictures.Normal);
  EXPECT_EQ(dialog.FilenameText.Text, "");
}

TEST_F(FileListTest, ASingleEntryIsUnselectedAndDeleteIsDisabledUntilTheNextMouseMove) {
  server.AddFolder("/one");
  AddRtfDocument("/one/single.rtf", "{\\rtf1 x}");
  OpenDialog& dialog = LoggedInDialog();
  EXPECT_TRUE(dialog.RedrawFiles("/one"));
  EXPECT_EQ(ListItemTexts(), std::vector<std::string>{"single.rtf"});
  EXPECT_EQ(dialog.ListView.SelectedIndex, -1);
  EXPECT_FALSE(dialog.DeleteImage.Enabled);
  EXPECT_EQ(dialog.DeleteImage.Picture, kDeletePictures.Disabled);
  dialog.OpenFileFrame_MouseMove(0, 0, 0, 0);
  EXPECT_TRUE(dialog.DeleteImage.Enabled);
  EXPECT_EQ(dialog.DeleteImage.Picture, kDeletePictures.Normal);
}

TEST_F(FileListTest, AnEmptyFolderGivesAnEmptyListAndFalse) {
  OpenDialog& dialog = LoggedInDialog();
  EXPECT_FALSE(dialog.RedrawFiles("/empty"));
  EXPECT_TRUE(dialog.ListView.Items.empty());
  EXPECT_FALSE(bed.pointer.IsBusy());
  dialog.ListView_MouseMove(0, 0, 0, 0);
  EXPECT_EQ(dialog.DeleteImage.Picture, kDeletePictures.Disabled);
  EXPECT_FALSE(dialog.DeleteImage.Enabled);
}

TEST_F(FileListTest, EveryListingEmptiesTheFileNameAndBracketsItWithTheBusyPointer) {
  OpenDialog& dialog = LoggedInDialog();
  dialog.FilenameText.Text = "typed";
  dialog.RedrawFiles("/");
  EXPECT_EQ(dialog.FilenameText.Text, "");
  EXPECT_EQ(bed.pointer.Calls().back(), PointerCall::SetDefault);
  EXPECT_FALSE(bed.pointer.IsBusy());
}

TEST_F(FileListTest, ItemClickPutsTheNameInTheFileNameBox) {
  OpenDialog& dialog = LoggedInDialog();
  dialog.ListView_ItemClick(2);
  EXPECT_EQ(dialog.FilenameText.Text, dialog.ListView.Items[2].Text);
}

TEST_F(FileListTest, DoubleClickingFoldersGrowsTheTrail) {
  OpenDialog& dialog = LoggedInDialog();
  DoubleClickItem("docs")(dialog);
  EXPECT_EQ(Trail(), (std::vector<std::string>{"/", "/docs"}));
  EXPECT_EQ(dialog.ImageCombo.SelectedIndex, 1);
  EXPECT_EQ(dialog.UpOneLevelImage.Picture, kUpOneLevelPictures.Normal);
  EXPECT_TRUE(dialog.UpOneLevelImage.Enabled);
  DoubleClickItem("2004")(dialog);
  EXPECT_EQ(Trail(), (std::vector<std::string>{"/", "/docs", "/docs/2004"}));
  EXPECT_EQ(dialog.ImageCombo.Text, "/docs/2004");
  EXPECT_EQ(ListItemTexts(), (std::vector<std::string>{"april.rtf", "march.rtf"}));
  EXPECT_EQ(dialog.FilenameText.Text, "") << "the folder's name does not stay in the box";
  EXPECT_EQ(RequestsSeen().back(),
            "<getFiles dir=\"/docs/2004\" username=\"ann\" password=\"secret\" vid=\"2.0\" />");
}

TEST_F(FileListTest, TypingAFolderNameAndPressingTheButtonEntersItInBothModes) {
  for (const char* mode : {kOpenMode, kSaveMode}) {
    OpenDialog& dialog = LoggedInDialog();
    dialog.OpenButton.Caption = mode;
    dialog.FilenameText.Text = "  docs ";
    dialog.OpenButton_Click();
    EXPECT_EQ(Trail(), (std::vector<std::string>{"/", "/docs"})) << mode;
    EXPECT_TRUE(bed.prompts.Messages().empty()) << mode;
    dialog.Cancel_Click();
  }
}

TEST_F(FileListTest, ChoosingAnEarlierTrailItemCutsTheTrailBackAndListsIt) {
  OpenDialog& dialog = LoggedInDialog();
  DoubleClickItem("docs")(dialog);
  DoubleClickItem("2004")(dialog);
  server.ClearRequests();
  ChooseTrailItem(0)(dialog);
  EXPECT_EQ(Trail(), std::vector<std::string>{"/"});
  EXPECT_EQ(RequestsSeen().size(), 1u);
  EXPECT_EQ(ListItemTexts(), (std::vector<std::string>{"docs", "empty", "report.rtf"}));
  EXPECT_EQ(dialog.ListView.SelectedIndex, 0);
}

TEST_F(FileListTest, ChoosingTheCurrentFolderSendsNothing) {
  OpenDialog& dialog = LoggedInDialog();
  DoubleClickItem("docs")(dialog);
  server.ClearRequests();
  dialog.ListView.SelectedIndex = -1;
  ChooseTrailItem(1)(dialog);
  EXPECT_TRUE(server.Requests().empty());
  EXPECT_EQ(dialog.ListView.SelectedIndex, 0) << "two entries: the first is selected again";
}

TEST_F(FileListTest, UpOneLevelGoesBackAlongTheTrailToTheRoot) {
  OpenDialog& dialog = LoggedInDialog();
  DoubleClickItem("docs")(dialog);
  DoubleClickItem("2004")(dialog);
  ClickImage(&OpenDialog::UpOneLevelImage_MouseDown, &OpenDialog::UpOneLevelImage_MouseUp)(dialog);
  EXPECT_EQ(Trail(), (std::vector<std::string>{"/", "/docs"}));
  EXPECT_EQ(ListItemTexts(), (std::vector<std::string>{"2004", "only.rtf"}));
  EXPECT_TRUE(dialog.UpOneLevelImage.Enabled);
  ClickImage(&OpenDialog::UpOneLevelImage_MouseDown, &OpenDialog::UpOneLevelImage_MouseUp)(dialog);
  EXPECT_EQ(Trail(), std::vector<std::string>{"/"});
  EXPECT_EQ(dialog.UpOneLevelImage.Picture, kUpOneLevelPictures.Disabled);
  EXPECT_FALSE(dialog.UpOneLevelImage.Enabled);
  EXPECT_EQ(dialog.PressedButton, 0);
}

TEST_F(FileListTest, EnteringAFolderWhoseListingFailsStillAppendsItToTheTrail) {
  OpenDialog& dialog = LoggedInDialog();
  // A listing with a type that is not a number fails inside the request and empties the trail.
  server.ReplyWithText("<files><entry name=\"x\" type=\"abc\"/></files>");
  DoubleClickItem("docs")(dialog);
  EXPECT_EQ(Trail(), std::vector<std::string>{"/docs"});
  EXPECT_FALSE(dialog.ImageCombo.HasSelection());
  EXPECT_EQ(bed.prompts.Messages().size(), 1u);
}

}  // namespace
}  // namespace penlark::testing

#include "DialogSessionTest.h"
#include "dialog/OpenDialog.h"

namespace penlark::testing {
namespace {

class FolderOperationsTest : public DialogSessionTest {
 protected:
  FolderOperationsTest() {
    server.AddFolder("/docs");
    AddRtfDocument("/docs/report.rtf", "{\\rtf1 report}");
    AddRtfDocument("/docs/notes.rtf", "{\\rtf1 notes}");
    dialog = &LoggedInDialog();
    DoubleClickItem("docs")(*dialog);
    server.ClearRequests();
  }

  void Select(const std::string& name) {
    const auto& items = dialog->ListView.Items;
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (items[i].Text == name) {
        dialog->ListView.SelectedIndex = static_cast<int>(i);
      }
    }
  }

  void ReleaseDelete(double x = 100, double y = 100) {
    ClickImage(&OpenDialog::DeleteImage_MouseDown, &OpenDialog::DeleteImage_MouseUp, x, y)(*dialog);
  }
  void ReleaseCreateFolder(double x = 100, double y = 100) {
    ClickImage(&OpenDialog::CreateFolderImage_MouseDown, &OpenDialog::CreateFolderImage_MouseUp, x,
               y)(*dialog);
  }

  OpenDialog* dialog = nullptr;
};

TEST_F(FolderOperationsTest, RefreshListsTheCurrentFolderAgain) {
  AddRtfDocument("/docs/new.rtf", "{\\rtf1 new}");
  ClickImage(&OpenDialog::ReloadImage_MouseDown, &OpenDialog::ReloadImage_MouseUp, 360,
             360)(*dialog);
  EXPECT_EQ(RequestsSeen(),
            std::vector<std::string>{
                "<getFiles dir=\"/docs\" username=\"ann\" password=\"secret\" vid=\"2.0\" />"});
  EXPECT_EQ(ListItemTexts(), (std::vector<std::string>{"new.rtf", "notes.rtf", "report.rtf"}));
  EXPECT_EQ(dialog->ReloadImage.Picture, kReloadPictures.Normal);
  EXPECT_EQ(dialog->PressedButton, 0);
}

// Released off the button, by a twip past any edge, a button does nothing but go back to rest.
TEST_F(FolderOperationsTest, AButtonReleasedOffItselfOnlyGoesBackToRest) {
  const struct {
    ImageButton OpenDialog::*button;
    MouseHandler down;
    MouseHandler up;
    int rest;
  } buttons[] = {
      {&OpenDialog::ReloadImage, &OpenDialog::ReloadImage_MouseDown,
       &OpenDialog::ReloadImage_MouseUp, kReloadPictures.Normal},
      {&OpenDialog::UpOneLevelImage, &OpenDialog::UpOneLevelImage_MouseDown,
       &OpenDialog::UpOneLevelImage_MouseUp, kUpOneLevelPictures.Normal},
      {&OpenDialog::DeleteImage, &OpenDialog::DeleteImage_MouseDown,
       &OpenDialog::DeleteImage_MouseUp, kDeletePictures.Normal},
      {&OpenDialog::CreateFolderImage, &OpenDialog::CreateFolderImage_MouseDown,
       &OpenDialog::CreateFolderImage_MouseUp, kCreateFolderPictures.Normal},
  };
  const std::pair<double, double> offButton[] = {{-1, 100}, {361, 100}, {100, -1}, {100, 361}};
  Select("report.rtf");
  for (const auto& row : buttons) {
    for (const auto& [x, y] : offButton) {
      SCOPED_TRACE((dialog->*row.button).ToolTipText + " at " + std::to_string(x) + "," +
                   std::to_string(y));
      ClickImage(row.down, row.up, x, y)(*dialog);
      EXPECT_TRUE(server.Requests().empty());
      EXPECT_TRUE(bed.prompts.Messages().empty());
      EXPECT_TRUE(bed.prompts.Inputs().empty());
      EXPECT_EQ((dialog->*row.button).Picture, row.rest);
      EXPECT_EQ(dialog->PressedButton, 0);
      EXPECT_EQ(dialog->ImageCombo.Items, (std::vector<std::string>{"/", "/docs"}));
    }
  }
}

TEST_F(FolderOperationsTest, DeleteAnsweredNoSendsNothing) {
  Select("report.rtf");
  bed.prompts.AnswerNext(MessageAnswer::No);
  ReleaseDelete();
  ASSERT_EQ(bed.prompts.Messages().size(), 1u);
  const Message& question = bed.prompts.Messages()[0];
  EXPECT_EQ(question.text, "Delete report.rtf from Tarnwell server?");
  EXPECT_EQ(question.buttons, MessageButtons::YesNo);
  EXPECT_EQ(question.icon, MessageIcon::None);
  EXPECT_EQ(question.title, "Penlark");
  EXPECT_TRUE(server.Requests().empty());
  EXPECT_EQ(dialog->DeleteImage.Picture, kDeletePictures.Normal);
}

TEST_F(FolderOperationsTest, DeleteAnsweredYesDeletesWithTheTypeFromTheListingAndListsAgain) {
  Select("report.rtf");
  bed.prompts.AnswerNext(MessageAnswer::Yes);
  ReleaseDelete();
  EXPECT_EQ(RequestsSeen(),
            (std::vector<std::string>{
                "<delete dir=\"/docs\" name=\"report.rtf\" type=\"2\" username=\"ann\" "
                "password=\"secret\" version=\"2.0\" />",
                "<getFiles dir=\"/docs\" username=\"ann\" password=\"secret\" vid=\"2.0\" />"}));
  EXPECT_FALSE(server.HasEntry("/docs/report.rtf"));
  EXPECT_EQ(ListItemTexts(), std::vector<std::string>{"notes.rtf"});
  EXPECT_EQ(dialog->DeleteImage.Picture, kDeletePictures.Normal);
  EXPECT_EQ(dialog->PressedButton, 0);
}

TEST_F(FolderOperationsTest, DeleteSendsTheTypeOfTheSelectedEntry) {
  server.AddFolder("/docs/old");
  dialog->RedrawFiles("/docs");
  Select("old");
  bed.prompts.AnswerNext(MessageAnswer::Yes);
  ReleaseDelete();
  EXPECT_FALSE(server.HasFolder("/docs/old"));
  // A folder and a document of the same name in one listing.
  server.ReplyWithText(R"(<files><e name="twin" type="1"/><e name="twin" type="2"/></files>)");
  for (const int index : {1, 0}) {
    dialog->RedrawFiles("/docs");
    server.ClearRequests();
    dialog->ListView.SelectedIndex = index;
    bed.prompts.AnswerNext(MessageAnswer::Yes);
    ReleaseDelete();
    ASSERT_FALSE(server.Requests().empty());
    EXPECT_NE(RequestsSeen()[0].find("name=\"twin\" type=\"" + std::to_string(index + 1) + "\""),
              std::string::npos)
        << RequestsSeen()[0];
  }
}

TEST_F(FolderOperationsTest, DeleteThatFailsKeepsThePressedPicture) {
  Select("report.rtf");
  bed.prompts.AnswerNext(MessageAnswer::Yes);
  server.InjectFault("Access denied");
  ReleaseDelete();
  EXPECT_EQ(dialog->DeleteImage.Picture, kDeletePictures.Pressed);
  EXPECT_EQ(dialog->PressedButton, 0);
  EXPECT_EQ(bed.prompts.MessageTexts().back(), "Access denied");
}

TEST_F(FolderOperationsTest, DeleteWithoutASelectedItemDoesNothing) {
  dialog->ListView.SelectedIndex = -1;
  ReleaseDelete();
  EXPECT_TRUE(bed.prompts.Messages().empty());
  EXPECT_TRUE(server.Requests().empty());
  EXPECT_EQ(dialog->DeleteImage.Picture, kDeletePictures.Normal);
}

TEST_F(FolderOperationsTest, DeletePicturesFollowThePointer) {
  dialog->DeleteImage_MouseMove(0, 0, 100, 100);
  EXPECT_EQ(dialog->DeleteImage.Picture, kDeletePictures.Hover);
  dialog->DeleteImage_MouseDown(kLeftButton, 0, 100, 100);
  EXPECT_EQ(dialog->DeleteImage.Picture, kDeletePictures.Pressed);
  dialog->DeleteImage_MouseMove(kLeftButton, 0, 400, 100);
  EXPECT_EQ(dialog->DeleteImage.Picture, kDeletePictures.Normal);
  dialog->DeleteImage_MouseMove(kLeftButton, 0, 200, 200);
  EXPECT_EQ(dialog->DeleteImage.Picture, kDeletePictures.Pressed);
}

TEST_F(FolderOperationsTest, CreateFolderSendsTheNameWithBlanksCollapsedAndListsAgain) {
  bed.prompts.TypeNext("  new   folder  ");
  ReleaseCreateFolder();
  ASSERT_EQ(bed.prompts.Inputs().size(), 1u);
  EXPECT_EQ(bed.prompts.Inputs()[0],
            (InputRequest{.prompt = "Folder Name: ", .title = "Create Folder", .defaultText = ""}));
  ASSERT_EQ(server.Requests().size(), 2u);
  EXPECT_EQ(RequestsSeen()[0],
            "<createFolder dir=\"/docs\" name=\"new folder\" type=\"1\" username=\"ann\" "
            "password=\"secret\" version=\"2.0\"  />");
  EXPECT_TRUE(server.HasFolder("/docs/new folder"));
  EXPECT_EQ(ListItemTexts(), (std::vector<std::string>{"new folder", "notes.rtf", "report.rtf"}));
  EXPECT_EQ(dialog->ImageCombo.Items, (std::vector<std::string>{"/", "/docs"}))
      << "the new folder is not entered";
  EXPECT_EQ(dialog->CreateFolderImage.Picture, kCreateFolderPictures.Normal);
}

TEST_F(FolderOperationsTest, CreateFolderWithATakenOrUnusableNameAsksAgain) {
  // Besides names that are not one step of a path, the names Windows cannot hold as files.
  const std::vector<std::string> refused = {"a/b",      "a\\b", ".",       "..",   "tab\there",
                                            "bell\a",   "CON",  "nul.txt", "Com1", "lpt9.tar.gz",
                                            "aux .rtf", "end.", "a:b",     "a<b",  "a>b",
                                            "a|b",      "a?b",  "a*b",     "a\"b"};
  std::vector<std::string> expected = {"Folders already exists!"};
  bed.prompts.TypeNext("notes.rtf");
  for (const std::string& name : refused) {
    bed.prompts.TypeNext(name);
    expected.push_back("The name " + name + " cannot be used for a folder.");
  }
  bed.prompts.TypeNext("COM10.console");  // no device of Windows
  ReleaseCreateFolder();
  EXPECT_EQ(bed.prompts.MessageTexts(), expected);
  for (const Message& message : bed.prompts.Messages()) {
    EXPECT_EQ(message.icon, MessageIcon::Exclamation);
  }
  EXPECT_EQ(bed.prompts.Messages().back().title, "Penlark Files");
  EXPECT_EQ(bed.prompts.Inputs().size(), refused.size() + 2);
  ASSERT_EQ(server.Requests().size(), 2u);
  EXPECT_NE(RequestsSeen()[0].find("name=\"COM10.console\""), std::string::npos);
}

TEST_F(FolderOperationsTest, CreateFolderNamesDifferingInCaseAreAccepted) {
  bed.prompts.TypeNext("Notes.rtf");
  ReleaseCreateFolder();
  EXPECT_TRUE(bed.prompts.Messages().empty());
  EXPECT_TRUE(server.HasFolder("/docs/Notes.rtf"));
}

TEST_F(FolderOperationsTest, CreateFolderCancelledAfterATakenNameSendsNothing) {
  bed.prompts.TypeNext("report.rtf");
  bed.prompts.CancelNextInput();
  ReleaseCreateFolder();
  EXPECT_TRUE(server.Requests().empty());
  EXPECT_EQ(dialog->CreateFolderImage.Picture, kCreateFolderPictures.Normal);
  EXPECT_EQ(dialog->PressedButton, 0);
}

TEST_F(FolderOperationsTest, CreateFolderWithOnlyBlanksSendsNothing) {
  bed.prompts.TypeNext("    ");
  ReleaseCreateFolder();
  EXPECT_TRUE(server.Requests().empty());
  EXPECT_EQ(dialog->CreateFolderImage.Picture, kCreateFolderPictures.Normal);
}

TEST_F(FolderOperationsTest, ButtonsWithAnEmptiedTrailDoOnlyTheirClosingSteps) {
  dialog->ImageCombo.Clear();
  ReleaseDelete();
  ReleaseCreateFolder();
  ClickImage(&OpenDialog::UpOneLevelImage_MouseDown, &OpenDialog::UpOneLevelImage_MouseUp)(*dialog);
  EXPECT_TRUE(bed.prompts.Messages().empty());
  EXPECT_TRUE(bed.prompts.Inputs().empty());
  EXPECT_TRUE(server.Requests().empty());
  EXPECT_EQ(dialog->DeleteImage.Picture, kDeletePictures.Normal);
  EXPECT_EQ(dialog->CreateFolderImage.Picture, kCreateFolderPictures.Normal);
  EXPECT_EQ(dialog->UpOneLevelImage.Picture, kUpOneLevelPictures.Disabled);
  EXPECT_EQ(dialog->PressedButton, 0);
}

TEST_F(FolderOperationsTest, RefreshWithAnEmptiedTrailListsTheEmptyPath) {
  dialog->ImageCombo.Clear();
  ClickImage(&OpenDialog::ReloadImage_MouseDown, &OpenDialog::ReloadImage_MouseUp)(*dialog);
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_NE(RequestsSeen()[0].find("dir=\"\""), std::string::npos);
}

}  // namespace
}  // namespace penlark::testing

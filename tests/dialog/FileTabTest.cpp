#include "support/dialog/FakeServer.h"

#include <functional>

namespace penlark::testing {
namespace {

// Delete is enabled with two entries or more, and by the next move over a non-empty list.
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

// Entered by a double-click or a typed name, left through the trail or Up One Level.
TEST_F(DialogRulesTest, TheTrailFollowsTheFoldersEnteredAndLeft) {
  OpenDialog& dialog = LoggedIn();
  dialog.ListView_ItemClick(2);
  EXPECT_EQ(dialog.FilenameText.Text, "report.rtf");
  dialog.OpenButton.Caption = kSaveMode;
  dialog.FilenameText.Text = "  docs ";
  dialog.OpenButton_Click();
  EXPECT_EQ(dialog.ImageCombo.Items, (std::vector<std::string>{"/", "/docs"}));
  EXPECT_EQ(std::pair(dialog.UpOneLevelImage.Picture, dialog.UpOneLevelImage.Enabled),
            std::pair(kUpOneLevelPictures.Normal, true));
  DoubleClickItem("2004")(dialog);
  EXPECT_EQ(dialog.ImageCombo.Items, (std::vector<std::string>{"/", "/docs", "/docs/2004"}));
  EXPECT_EQ(dialog.ImageCombo.SelectedIndex, 2);
  EXPECT_EQ(server.asked,
            (std::vector<std::string>{"getFiles /", "getFiles /docs", "getFiles /docs/2004"}));
  EXPECT_EQ(ItemTexts(dialog), (std::vector<std::string>{"april.rtf", "march.rtf"}));
  EXPECT_EQ(dialog.FilenameText.Text, "") << "the folder's name does not stay in the box";

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
  EXPECT_EQ(std::pair(dialog.UpOneLevelImage.Picture, dialog.UpOneLevelImage.Enabled),
            std::pair(kUpOneLevelPictures.Disabled, false));
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

// Released a twip past one of its edges, a button does nothing and comes back to rest.
TEST_F(DialogRulesTest, EveryButtonHasItsOwnPicturesAndCode) {
  const std::pair<double, double> offButton[] = {{-1, 100}, {361, 100}, {100, -1}, {100, 361}};
  OpenDialog& dialog = InDocs();
  for (const FolderButton& row : kFolderButtons) {
    const ImageButton& button = dialog.*row.control;
    SCOPED_TRACE(button.ToolTipText);
    dialog.PressedButton = row.code == 1 ? 4 : 1;
    std::invoke(row.move, dialog, 0, 0, 10, 10);
    EXPECT_EQ(button.Picture, row.pictures.Hover);
    dialog.PressedButton = 0;
    std::invoke(row.down, dialog, kRightButton, 0, 0, 0);
    EXPECT_EQ(std::pair(button.Picture, dialog.PressedButton),
              std::pair(row.pictures.Pressed, row.code));
    std::invoke(row.move, dialog, kLeftButton, 0, 400, 100);
    EXPECT_EQ(std::pair(button.Picture, dialog.PressedButton),
              std::pair(row.pictures.Normal, row.code));
    std::invoke(row.move, dialog, kLeftButton, 0, 360, 360);
    EXPECT_EQ(button.Picture, row.pictures.Pressed);
    const auto [x, y] = offButton[row.code - 1];
    std::invoke(row.up, dialog, kLeftButton, 0, x, y);
    EXPECT_TRUE(server.asked.empty());
    EXPECT_TRUE(bed.prompts.Messages().empty());
    EXPECT_TRUE(bed.prompts.Inputs().empty());
    EXPECT_EQ(std::pair(button.Picture, dialog.PressedButton),
              std::pair(row.pictures.Normal, std::int16_t{0}));
    EXPECT_EQ(dialog.ImageCombo.Items, (std::vector<std::string>{"/", "/docs"}));
  }
}

// Only the left button drops the menu down, below the button; no choice leaves it pressed.
TEST_F(DialogRulesTest, TheViewsButtonDropsTheViewMenuDownWithTheLeftButtonOnly) {
  OpenDialog& dialog = InDocs();
  dialog.ReloadImage.Picture = kReloadPictures.Hover;
  dialog.PropsImage_MouseMove(0, 0, 9999, 9999);
  EXPECT_EQ(dialog.ReloadImage.Picture, kReloadPictures.Normal);
  EXPECT_EQ(dialog.PropsImage.Picture, kViewsPictures.Hover);
  dialog.PropsImage_MouseDown(kRightButton, 0, 10, 10);
  EXPECT_TRUE(bed.views.menuPositions.empty());
  dialog.PropsImage_MouseDown(kLeftButton, 0, 10, 10);
  EXPECT_EQ(dialog.PropsImage.Picture, kViewsPictures.Pressed) << "closed without a choice";
  bed.views.menuChoices.push_back(&OpenDialog::menuReport_Click);
  dialog.PropsImage_MouseDown(kLeftButton, 0, 10, 10);
  EXPECT_EQ(bed.views.menuPositions, (std::vector<std::pair<int, int>>(2, {6600, 1020})));
  EXPECT_EQ(dialog.ListView.View, ListViewMode::Report);
  EXPECT_EQ((std::vector<bool>{dialog.menuIcons.Checked, dialog.menuSmallIcons.Checked,
                               dialog.menuList.Checked, dialog.menuReport.Checked}),
            (std::vector<bool>{false, false, false, true}));
  EXPECT_FALSE(dialog.menuPopup.Visible);
  EXPECT_EQ(dialog.PropsImage.Picture, kViewsPictures.Normal);
}

// A folder and a document of the same name are told apart by their type from the listing.
TEST_F(DialogRulesTest, DeleteAsksAndSendsTheSelectedEntryWithItsType) {
  server.Add("/docs", "twin", kFolderType);
  server.Add("/docs", "twin", kDocumentType);
  OpenDialog& dialog = InDocs();
  dialog.ListView.SelectedIndex = 2;
  bed.prompts.AnswerNext(MessageAnswer::No);
  kDeleteButton.Click(dialog);
  EXPECT_EQ(bed.prompts.Messages(),
            (std::vector<Message>{{.text = "Delete report.rtf from Tarnwell server?",
                                   .buttons = MessageButtons::YesNo}}));
  for (const auto& [index, sent] :
       {std::pair{4, "delete /docs twin 2"}, std::pair{3, "delete /docs twin 1"}}) {
    dialog.ListView.SelectedIndex = index;
    bed.prompts.AnswerNext(MessageAnswer::Yes);
    kDeleteButton.Click(dialog);
    EXPECT_EQ(server.asked, (std::vector<std::string>{sent, "getFiles /docs"}));
    server.asked.clear();
  }
  EXPECT_EQ(ItemTexts(dialog), (std::vector<std::string>{"2004", "notes.rtf", "report.rtf"}));

  bed.prompts.AnswerNext(MessageAnswer::Yes);
  server.FailNext(FakeServer::Failure::Fault, "Access denied");
  kDeleteButton.Click(dialog);
  EXPECT_EQ(std::pair(dialog.DeleteImage.Picture, dialog.PressedButton),
            std::pair(kDeletePictures.Pressed, std::int16_t{0}));
  EXPECT_EQ(server.asked.size(), 1u) << "not listed again";
  dialog.ListView.SelectedIndex = -1;
  kDeleteButton.Click(dialog);
  EXPECT_EQ(bed.prompts.MessageTexts().size(), 5u);
  EXPECT_EQ(server.asked.size(), 1u);
  EXPECT_EQ(dialog.DeleteImage.Picture, kDeletePictures.Normal);
}

TEST(FolderOperationRules, CreateFolderAsksUntilTheNameIsFreeAndPlain) {
  const std::string taken = "Folders already exists!";
  std::vector<std::string> unusable = {"a/b",      "a\\b", ".",       "..",   "tab\there",
                                       "bell\a",   "CON",  "nul.txt", "Com1", "lpt9.tar.gz",
                                       "aux .rtf", "end.", "a:b",     "a<b",  "a>b",
                                       "a|b",      "a?b",  "a*b",     "a\"b"};
  std::vector<std::string> refusals;
  for (const std::string& name : unusable) {
    refusals.push_back("The name " + name + " cannot be used for a folder.");
  }
  unusable.push_back("COM10.console");
  const struct {
    const char* name;
    std::vector<std::string> typed;
    std::vector<std::string> messages;
    std::string sent;
  } rows[] = {
      {"only blanks", {"    "}, {}, ""},
      {"taken, then cancelled", {"report.rtf", ""}, {taken}, ""},
      {"differs in case", {"Notes.rtf"}, {}, "createFolder /docs Notes.rtf 1"},
      {"unusable, then one every system can hold", unusable, refusals,
       "createFolder /docs COM10.console 1"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    FakeMachine machine;
    OpenDialog& dialog = machine.InDocs();
    for (const std::string& typed : row.typed) {
      machine.bed.prompts.TypeNext(typed);
    }
    kCreateFolderButton.Click(dialog);
    EXPECT_TRUE(machine.bed.prompts.ScriptDone());
    EXPECT_EQ(machine.bed.prompts.MessageTexts(), row.messages);
    for (const Message& message : machine.bed.prompts.Messages()) {
      EXPECT_EQ(message.icon, MessageIcon::Exclamation);
      EXPECT_EQ(message.title, message.text == taken ? "Penlark" : "Penlark Files");
    }
    const std::vector<std::string> sent{row.sent, "getFiles /docs"};
    EXPECT_EQ(machine.server.asked, row.sent.empty() ? std::vector<std::string>{} : sent);
    EXPECT_EQ(std::pair(dialog.CreateFolderImage.Picture, dialog.PressedButton),
              std::pair(kCreateFolderPictures.Normal, std::int16_t{0}));
  }
}

}  // namespace
}  // namespace penlark::testing

#include "DialogRules.h"

#include <functional>

namespace penlark::testing {
namespace {

// Hover while another button is pressed, hover, pressed with any mouse button, dragged off and
// back on, released a twip past one of its edges: nothing happens and the button is at rest.
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

// The right button presses the picture without a menu; a menu closed without a choice leaves the
// button pressed; a choice sets the view and its check mark. The menu drops down below the button.
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

// The question, then the request for the selected entry with its type from the listing: a folder
// and a document of the same name are told apart by their place. A failure ends early, pressed.
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

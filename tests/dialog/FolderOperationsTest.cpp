#include "DialogSessionTest.h"

namespace penlark::testing {
namespace {

const UserAction kReload = kReloadButton.Click();
const UserAction kDelete = kDeleteButton.Click();
const UserAction kCreateFolder = kCreateFolderButton.Click();

TEST_F(DialogSessionTest, RefreshCreateAndDeleteOnTheServer) {
  server.AddFolder("/docs");
  AddRtfDocument("/docs/report.rtf", "{\\rtf1 report}");
  OpenDialog& dialog = LoggedInDialog();
  DoubleClickItem("docs")(dialog);
  AddRtfDocument("/docs/new.rtf", "{\\rtf1 new}");
  server.ClearRequests();
  const std::string listing =
      "<getFiles dir=\"/docs\" username=\"ann\" password=\"secret\" vid=\"2.0\" />";
  kReloadButton.Click(360, 360)(dialog);
  EXPECT_EQ(RequestsSeen(), std::vector<std::string>{listing});
  EXPECT_EQ(ItemTexts(dialog), (std::vector<std::string>{"new.rtf", "report.rtf"}));

  server.ClearRequests();
  bed.prompts.TypeNext("  new   folder  ");
  kCreateFolder(dialog);
  EXPECT_EQ(bed.prompts.Inputs(),
            (std::vector<InputRequest>{
                {.prompt = "Folder Name: ", .title = "Create Folder", .defaultText = ""}}));
  EXPECT_EQ(RequestsSeen(),
            (std::vector<std::string>{"<createFolder dir=\"/docs\" name=\"new folder\" type=\"1\" "
                                      "username=\"ann\" password=\"secret\" version=\"2.0\"  />",
                                      listing}));
  EXPECT_TRUE(server.HasFolder("/docs/new folder"));
  EXPECT_EQ(ItemTexts(dialog), (std::vector<std::string>{"new folder", "new.rtf", "report.rtf"}));

  server.ClearRequests();
  dialog.ListView.SelectedIndex = 2;
  bed.prompts.AnswerNext(MessageAnswer::Yes);
  kDelete(dialog);
  EXPECT_EQ(RequestsSeen(),
            (std::vector<std::string>{"<delete dir=\"/docs\" name=\"report.rtf\" type=\"2\" "
                                      "username=\"ann\" password=\"secret\" version=\"2.0\" />",
                                      listing}));
  EXPECT_FALSE(server.HasEntry("/docs/report.rtf"));
  EXPECT_EQ(ItemTexts(dialog), (std::vector<std::string>{"new folder", "new.rtf"}));
  EXPECT_EQ(dialog.DeleteImage.Picture, kDeletePictures.Normal);
  EXPECT_EQ(dialog.PressedButton, 0);
}

// Released off the button, by a twip past any edge, a button does nothing but go back to rest.
TEST_F(DialogRulesTest, AButtonReleasedOffItselfOnlyGoesBackToRest) {
  const std::pair<double, double> offButton[] = {{-1, 100}, {361, 100}, {100, -1}, {100, 361}};
  OpenDialog& dialog = InDocs();
  for (const FolderButton& row : kFolderButtons) {
    for (const auto& [x, y] : offButton) {
      SCOPED_TRACE((dialog.*row.control).ToolTipText + " at " + std::to_string(x) + "," +
                   std::to_string(y));
      row.Click(x, y)(dialog);
      EXPECT_TRUE(server.asked.empty());
      EXPECT_TRUE(bed.prompts.Messages().empty());
      EXPECT_TRUE(bed.prompts.Inputs().empty());
      EXPECT_EQ((dialog.*row.control).Picture, row.pictures.Normal);
      EXPECT_EQ(dialog.PressedButton, 0);
      EXPECT_EQ(dialog.ImageCombo.Items, (std::vector<std::string>{"/", "/docs"}));
    }
  }
}

// The question, then the request for the selected entry with its type from the listing; a
// folder and a document of the same name are told apart by their place in the list.
TEST_F(DialogRulesTest, DeleteAsksAndSendsTheSelectedEntryWithItsType) {
  server.Add("/docs", "twin", kFolderType);
  server.Add("/docs", "twin", kDocumentType);
  OpenDialog& dialog = InDocs();
  dialog.ListView.SelectedIndex = 2;
  bed.prompts.AnswerNext(MessageAnswer::No);
  kDelete(dialog);
  EXPECT_EQ(bed.prompts.Messages(),
            (std::vector<Message>{{.text = "Delete report.rtf from Tarnwell server?",
                                   .buttons = MessageButtons::YesNo}}));
  EXPECT_TRUE(server.asked.empty());
  for (const auto& [index, sent] :
       {std::pair{4, "delete /docs twin 2"}, std::pair{3, "delete /docs twin 1"}}) {
    dialog.ListView.SelectedIndex = index;
    bed.prompts.AnswerNext(MessageAnswer::Yes);
    kDelete(dialog);
    EXPECT_EQ(server.asked, (std::vector<std::string>{sent, "getFiles /docs"}));
    server.asked.clear();
  }
  EXPECT_EQ(ItemTexts(dialog), (std::vector<std::string>{"2004", "notes.rtf", "report.rtf"}));
}

TEST_F(DialogRulesTest, DeleteThatFailsOrHasNoSelectionEndsEarly) {
  OpenDialog& dialog = InDocs();
  bed.prompts.AnswerNext(MessageAnswer::Yes);
  server.FailNext(FakeServer::Failure::Fault, "Access denied");
  kDelete(dialog);
  EXPECT_EQ(dialog.DeleteImage.Picture, kDeletePictures.Pressed);
  EXPECT_EQ(dialog.PressedButton, 0);
  EXPECT_EQ(bed.prompts.MessageTexts(),
            (std::vector<std::string>{"Delete 2004 from Tarnwell server?", "Access denied"}));
  EXPECT_EQ(server.asked.size(), 1u) << "not listed again";

  dialog.ListView.SelectedIndex = -1;
  kDelete(dialog);
  EXPECT_EQ(bed.prompts.Messages().size(), 2u);
  EXPECT_EQ(server.asked.size(), 1u);
  EXPECT_EQ(dialog.DeleteImage.Picture, kDeletePictures.Normal);
}

TEST(FolderOperationRules, CreateFolderAsksUntilTheNameIsFreeAndPlain) {
  const std::string taken = "Folders already exists!";
  const auto refused = [](const std::string& name) {
    return "The name " + name + " cannot be used for a folder.";
  };
  const struct {
    const char* name;
    std::vector<std::string> typed;
    std::vector<std::string> messages;
    std::string sent;
  } rows[] = {
      {"only blanks", {"    "}, {}, ""},
      {"taken, then cancelled", {"report.rtf", ""}, {taken}, ""},
      {"differs in case", {"Notes.rtf"}, {}, "createFolder /docs Notes.rtf 1"},
      {"blanks collapsed", {"  new   folder  "}, {}, "createFolder /docs new folder 1"},
      {"taken and unusable, then free",
       {"notes.rtf", "a/b", "a\\b", ".", "..", "tab\there", "bell\a", "archive"},
       {taken, refused("a/b"), refused("a\\b"), refused("."), refused(".."), refused("tab\there"),
        refused("bell\a")},
       "createFolder /docs archive 1"},
      {"names Windows cannot hold, then one it can",
       {"CON", "nul.txt", "Com1", "lpt9.tar.gz", "aux .rtf", "end.", "a:b", "a<b", "a>b", "a|b",
        "a?b", "a*b", "a\"b", "COM10.console"},
       {refused("CON"), refused("nul.txt"), refused("Com1"), refused("lpt9.tar.gz"),
        refused("aux .rtf"), refused("end."), refused("a:b"), refused("a<b"), refused("a>b"),
        refused("a|b"), refused("a?b"), refused("a*b"), refused("a\"b")},
       "createFolder /docs COM10.console 1"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    FakeMachine machine;
    OpenDialog& dialog = machine.InDocs();
    for (const std::string& typed : row.typed) {
      machine.bed.prompts.TypeNext(typed);
    }
    kCreateFolder(dialog);
    EXPECT_TRUE(machine.bed.prompts.ScriptDone());
    EXPECT_EQ(machine.bed.prompts.MessageTexts(), row.messages);
    for (const Message& message : machine.bed.prompts.Messages()) {
      EXPECT_EQ(message.icon, MessageIcon::Exclamation);
      EXPECT_EQ(message.title, message.text == taken ? "Penlark" : "Penlark Files");
    }
    const std::vector<std::string> sent{row.sent, "getFiles /docs"};
    EXPECT_EQ(machine.server.asked, row.sent.empty() ? std::vector<std::string>{} : sent);
    EXPECT_EQ(dialog.CreateFolderImage.Picture, kCreateFolderPictures.Normal);
    EXPECT_EQ(dialog.PressedButton, 0);
  }
}

TEST_F(DialogRulesTest, AnEmptiedTrailLeavesTheButtonsOnlyTheirClosingSteps) {
  OpenDialog& dialog = InDocs();
  dialog.ImageCombo.Clear();
  kDelete(dialog);
  kCreateFolder(dialog);
  kUpOneLevelButton.Click()(dialog);
  EXPECT_TRUE(bed.prompts.Messages().empty());
  EXPECT_TRUE(bed.prompts.Inputs().empty());
  EXPECT_TRUE(server.asked.empty());
  EXPECT_EQ(dialog.DeleteImage.Picture, kDeletePictures.Normal);
  EXPECT_EQ(dialog.CreateFolderImage.Picture, kCreateFolderPictures.Normal);
  EXPECT_EQ(dialog.UpOneLevelImage.Picture, kUpOneLevelPictures.Disabled);
  EXPECT_EQ(dialog.PressedButton, 0);
  kReload(dialog);
  EXPECT_EQ(server.asked, std::vector<std::string>{"getFiles "});
}

}  // namespace
}  // namespace penlark::testing

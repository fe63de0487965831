#include "DialogSessionTest.h"
#include "dialog/OpenDialog.h"

namespace penlark::testing {
namespace {

constexpr std::string_view kDraftRtf = "{\\rtf1\\ansi Draft \\'e9t\\'e9\\par }";

class SaveFlowTest : public DialogSessionTest {
 protected:
  SaveFlowTest() {
    server.AddFolder("/docs");
    AddRtfDocument("/docs/report.rtf", "{\\rtf1 old report}");
    WriteFile(bed.temp / "draft.rtf", kDraftRtf);
    draft = bed.word.DocumentsOpen((bed.temp / "draft.rtf").string());
    dialog = &LoggedInDialog();
    dialog->OpenButton.Caption = kSaveMode;
    DoubleClickItem("docs")(*dialog);
    server.ClearRequests();
  }

  void SaveAs(const std::string& name) {
    dialog->FilenameText.Text = name;
    dialog->OpenButton_Click();
  }

  std::shared_ptr<WordDocument> draft;
  OpenDialog* dialog = nullptr;
};

TEST_F(SaveFlowTest, ANewNameIsSavedWithoutAQuestion) {
  SaveAs("draft.rtf");
  EXPECT_TRUE(bed.prompts.Messages().empty());

  EXPECT_EQ(ReadFile(bed.WorkDir() + "docs/draft.rtf"), std::string(kDraftRtf));
  EXPECT_EQ(draft->Name(), "draft.rtf");
  EXPECT_EQ(draft->Path() + "/", bed.WorkDir() + "docs/");
  const auto requests = server.Requests();
  ASSERT_GE(requests.size(), 1u);
  const auto& save = requests[0];
  EXPECT_EQ(save.request,
            "<saveFile dir=\"/docs\" name=\"draft.rtf\" type=\"2\" username=\"ann\" "
            "password=\"secret\" version=\"2.0\" />");
  EXPECT_EQ(save.content, XmlOf(kDraftRtf));
  EXPECT_EQ(server.Document("/docs/draft.rtf"), XmlOf(kDraftRtf));
  EXPECT_FALSE(bed.pointer.IsBusy());
}

TEST_F(SaveFlowTest, AfterAReplyTheDialogIsReloadedHiddenOnTheRootListing) {
  const int showingsBefore = bed.views.Showings();
  SaveAs("draft.rtf");
  EXPECT_TRUE(bed.Context().IsDialogLoaded());
  OpenDialog& reloaded = bed.Dialog();
  EXPECT_NE(&reloaded, dialog);
  EXPECT_EQ(reloaded.ImageCombo.Items, std::vector<std::string>{"/"});
  EXPECT_EQ(RequestsSeen().back(),
            "<getFiles dir=\"/\" username=\"ann\" password=\"secret\" vid=\"2.0\" />");
  EXPECT_EQ(bed.views.Showings(), showingsBefore) << "loaded, not shown";
  EXPECT_FALSE(reloaded.ListView.Items.empty());
}

TEST_F(SaveFlowTest, AfterASaveTheReloadedDialogLogsInWithThePasswordKeptInMemory) {
  dialog->SelectTab(2);
  LoginAsAnn(false)(*dialog);
  DoubleClickItem("docs")(*dialog);
  SaveAs("draft.rtf");
  EXPECT_TRUE(bed.prompts.Messages().empty());
  OpenDialog& reloaded = bed.Dialog();
  EXPECT_EQ(reloaded.TabStrip.SelectedTab, 1);
  EXPECT_FALSE(reloaded.SavePwdCheck.Value);
  EXPECT_EQ(RequestsSeen().back(),
            "<getFiles dir=\"/\" username=\"ann\" password=\"secret\" vid=\"2.0\" />");
  EXPECT_EQ(bed.Context().History().HistoryPassword(0), "") << "never written";
}

TEST_F(SaveFlowTest, WithoutAnAutomaticLoginTheReloadedDialogListsNothing) {
  std::filesystem::remove_all(bed.InstallPath() / "history");  // no history to log in from
  SaveAs("draft.rtf");
  EXPECT_TRUE(bed.prompts.Messages().empty());
  EXPECT_EQ(server.Requests().size(), 1u) << "the save alone";
  EXPECT_EQ(bed.Dialog().TabStrip.SelectedTab, 2);
}

TEST_F(SaveFlowTest, AFolderWhoseListingDidNotReadIsNeitherShownNorTakenToLackTheName) {
  server.AddFolder("/docs/sub");
  AddRtfDocument("/docs/sub/draft.rtf", "{\\rtf1 kept}");
  dialog->RedrawFiles("/docs");
  for (const std::string reply : {"<error>busy</error>", "not XML"}) {
    server.ReplyWithText(reply);
    DoubleClickItem("sub")(*dialog);
    server.Behave();
    EXPECT_TRUE(dialog->ListView.Items.empty()) << reply;
    bed.prompts.AnswerNext(MessageAnswer::No);
    SaveAs("draft.rtf");
    EXPECT_EQ(bed.prompts.MessageTexts().back(), "Overwrite draft.rtf on Tarnwell server?")
        << reply;
    EXPECT_EQ(server.Document("/docs/sub/draft.rtf"), XmlOf("{\\rtf1 kept}")) << reply;
    ChooseTrailItem(1)(*dialog);
  }
}

TEST_F(SaveFlowTest, AnExistingNameAsksBeforeOverwritingAndNoKeepsTheDialog) {
  bed.prompts.AnswerNext(MessageAnswer::No);
  SaveAs("report.rtf");
  ASSERT_EQ(bed.prompts.Messages().size(), 1u);
  const Message& question = bed.prompts.Messages()[0];
  EXPECT_EQ(question.text, "Overwrite report.rtf on Tarnwell server?");
  EXPECT_EQ(question.buttons, MessageButtons::YesNo);
  EXPECT_EQ(question.icon, MessageIcon::None);
  EXPECT_EQ(question.title, "Penlark");
  EXPECT_TRUE(server.Requests().empty());
  EXPECT_TRUE(bed.Context().IsDialogLoaded());
  EXPECT_EQ(&bed.Dialog(), dialog);
  EXPECT_FALSE(std::filesystem::exists(bed.WorkDir() + "docs/report.rtf"));
}

TEST_F(SaveFlowTest, AnsweringYesOverwritesTheServerCopy) {
  bed.prompts.AnswerNext(MessageAnswer::Yes);
  SaveAs("report.rtf");
  EXPECT_EQ(server.Document("/docs/report.rtf"), XmlOf(kDraftRtf));
  EXPECT_EQ(bed.Context().Server().CurrentFile, "report.rtf");
  EXPECT_EQ(bed.Context().Server().CurrentDir, "/docs");
}

TEST_F(SaveFlowTest, ASavedDocumentCountsAsOpenFromThenOn) {
  SaveAs("draft.rtf");
  OpenDialog& reloaded = bed.Dialog();
  EXPECT_TRUE(reloaded.IsDocOpen(bed.WorkDir() + "docs/draft.rtf"));
}

TEST_F(SaveFlowTest, WithNoDocumentNothingIsSentAndTheDialogIsUnloaded) {
  draft->Close();
  SaveAs("draft.rtf");
  EXPECT_TRUE(server.Requests().empty());
  EXPECT_FALSE(bed.Context().IsDialogLoaded());
  EXPECT_FALSE(bed.pointer.IsBusy());
}

TEST_F(SaveFlowTest, AnEmptyReplyLeavesTheDialogUnloaded) {
  server.InjectFault("Disk full");
  SaveAs("draft.rtf");
  EXPECT_EQ(bed.prompts.MessageTexts(), std::vector<std::string>{"Disk full"});
  EXPECT_FALSE(bed.Context().IsDialogLoaded());
}

TEST_F(SaveFlowTest, AFailingSaveReachesTheCallerWithTheNormalPointer) {
  std::filesystem::remove_all(bed.InstallPath() / "work");
  EXPECT_THROW(SaveAs("draft.rtf"), WordError);
  EXPECT_FALSE(bed.pointer.IsBusy());
  EXPECT_TRUE(server.Requests().empty());
}

}  // namespace
}  // namespace penlark::testing

#include "DialogSessionTest.h"
#include "dialog/OpenDialog.h"

namespace penlark::testing {
namespace {

constexpr std::string_view kReportRtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Report\\par }";

// A word processor whose first opens fail, as one that has gone away would.
class FlakyWord final : public Word {
 public:
  FlakyWord(Word& inner, int failures) : inner_(inner), failures_(failures) {}

  int DocumentsCount() override { return inner_.DocumentsCount(); }
  std::shared_ptr<WordDocument> DocumentsItem(int index) override {
    return inner_.DocumentsItem(index);
  }
  std::shared_ptr<WordDocument> DocumentsOpen(const std::string& fileName) override {
    if (failures_ > 0) {
      --failures_;
      throw WordError("The remote procedure call failed.");
    }
    return inner_.DocumentsOpen(fileName);
  }
  std::shared_ptr<WordDocument> ActiveDocument() override { return inner_.ActiveDocument(); }
  void NewApplication() override { inner_.NewApplication(); }

 private:
  Word& inner_;
  int failures_;
};

class OpenFlowTest : public DialogSessionTest {
 protected:
  OpenFlowTest() {
    server.AddFolder("/docs");
    AddRtfDocument("/docs/report.rtf", kReportRtf);
    AddRtfDocument("/docs/notes", "{\\rtf1 notes without extension}");
    dialog = &LoggedInDialog();
    dialog->OpenButton.Caption = kOpenMode;
    DoubleClickItem("docs")(*dialog);
    server.ClearRequests();
  }

  // Opens report.rtf through a dialog whose word processor fails its first `failures` opens;
  // whether that dialog is still loaded afterwards.
  bool OpenWithFlakyWord(int failures) {
    FlakyWord flaky(bed.word, failures);
    Component component(bed.ServicesWith(flaky));
    OpenDialog& flakyDialog = component.Context().Dialog();
    LoginAsAnn()(flakyDialog);
    flakyDialog.OpenButton.Caption = kOpenMode;
    DoubleClickItem("docs")(flakyDialog);
    DoubleClickItem("report.rtf")(flakyDialog);
    return component.Context().IsDialogLoaded();
  }

  void OpenByName(const std::string& name) {
    dialog->FilenameText.Text = name;
    dialog->OpenButton_Click();
  }

  OpenDialog* dialog = nullptr;
};

TEST_F(OpenFlowTest, FetchesConvertsOpensInTheWordProcessorAndUnloads) {
  DoubleClickItem("report.rtf")(*dialog);

  EXPECT_EQ(RequestsSeen(),
            std::vector<std::string>{"<getContent dir=\"/docs\" name=\"report.rtf\" type=\"2\" "
                                     "username=\"ann\" password=\"secret\" version=\"2.0\" />"});
  const std::string local = bed.WorkDir() + "docs/report.rtf";
  EXPECT_EQ(ReadFile(local), std::string(kReportRtf));
  ASSERT_EQ(bed.word.DocumentsCount(), 1);
  EXPECT_EQ(bed.word.ActiveDocument()->Name(), "report.rtf");
  EXPECT_EQ(bed.word.ActiveDocument()->Path() + "/", bed.WorkDir() + "docs/");
  EXPECT_TRUE(bed.word.IsVisible());
  EXPECT_FALSE(bed.Context().IsDialogLoaded());
  EXPECT_EQ(bed.Context().Server().CurrentFile, "report.rtf");
  EXPECT_EQ(bed.Context().Server().CurrentDir, "/docs");
  EXPECT_FALSE(bed.pointer.IsBusy());
}

TEST_F(OpenFlowTest, ADocumentWithoutAnRtfExtensionKeepsItsName) {
  OpenByName("notes");
  EXPECT_TRUE(std::filesystem::exists(bed.WorkDir() + "docs/notes"));
  ASSERT_EQ(bed.word.DocumentsCount(), 1);
  EXPECT_EQ(bed.word.ActiveDocument()->Name(), "notes");
}

TEST_F(OpenFlowTest, ANameIsLookedUpWithItsBlanksCollapsed) {
  AddRtfDocument("/docs/two words.rtf", "{\\rtf1 x}");
  dialog->RedrawFiles("/docs");
  OpenByName("  two   words.rtf ");
  EXPECT_EQ(bed.word.DocumentsCount(), 1);
  EXPECT_EQ(bed.Context().Server().CurrentFile, "two words.rtf");
}

TEST_F(OpenFlowTest, AnEmptyNameAsksForOne) {
  OpenByName("   ");
  ASSERT_EQ(bed.prompts.Messages().size(), 1u);
  const Message& message = bed.prompts.Messages()[0];
  EXPECT_EQ(message.text, "Filename is EMPTY,\r\nplease retry.");
  EXPECT_EQ(message.icon, MessageIcon::Exclamation);
  EXPECT_EQ(message.title, "Penlark Files");
  EXPECT_TRUE(bed.Context().IsDialogLoaded());
}

TEST_F(OpenFlowTest, ANameNotInTheListingIsRefused) {
  OpenByName("Report.rtf");
  EXPECT_EQ(bed.prompts.MessageTexts(),
            std::vector<std::string>{"File Report.rtf does not exist in the current FOLDER."});
  EXPECT_EQ(bed.prompts.Messages()[0].title, "Penlark Files");
  EXPECT_TRUE(server.Requests().empty());
  EXPECT_TRUE(bed.Context().IsDialogLoaded());
}

TEST_F(OpenFlowTest, ADocumentAlreadyOpenIsActivatedAndNothingIsFetched) {
  DoubleClickItem("report.rtf")(*dialog);
  const auto opened = bed.word.ActiveDocument();
  bed.word.AddDocument((bed.temp / "other.rtf").string(), "{\\rtf1 other}");
  server.ClearRequests();

  OpenDialog& again = LoggedInDialog();
  again.OpenButton.Caption = kOpenMode;
  DoubleClickItem("docs")(again);
  server.ClearRequests();
  DoubleClickItem("report.rtf")(again);

  EXPECT_TRUE(server.Requests().empty());
  EXPECT_EQ(bed.prompts.MessageTexts(),
            std::vector<std::string>{"The Document report.rtf is already open."});
  EXPECT_EQ(bed.prompts.Messages()[0].title, "Penlark");
  EXPECT_EQ(bed.word.ActiveDocument(), opened);
  EXPECT_TRUE(bed.Context().IsDialogLoaded()) << "the dialog stays shown";
  EXPECT_FALSE(bed.pointer.IsBusy());
}

TEST_F(OpenFlowTest, SameNamedDocumentsOfTwoFoldersHaveLocalCopiesOfTheirOwn) {
  server.AddFolder("/other");
  AddRtfDocument("/other/report.rtf", "{\\rtf1 other report}");
  DoubleClickItem("report.rtf")(*dialog);
  OpenDialog& again = LoggedInDialog();
  again.OpenButton.Caption = kOpenMode;
  DoubleClickItem("other")(again);
  DoubleClickItem("report.rtf")(again);

  EXPECT_TRUE(bed.prompts.Messages().empty());
  ASSERT_EQ(bed.word.DocumentsCount(), 2);
  EXPECT_EQ(bed.word.ActiveDocument()->Path() + "/", bed.WorkDir() + "other/");
  EXPECT_EQ(ReadFile(bed.WorkDir() + "docs/report.rtf"), std::string(kReportRtf));
  EXPECT_NE(ReadFile(bed.WorkDir() + "other/report.rtf").value_or("").find("other report"),
            std::string::npos);
}

TEST_F(OpenFlowTest, ADocumentOfTheSameNameElsewhereIsNotTakenForTheServerCopy) {
  std::filesystem::create_directory(bed.temp / "elsewhere");
  WriteFile(bed.temp / "elsewhere" / "report.rtf", "{\\rtf1 local}");
  bed.word.DocumentsOpen((bed.temp / "elsewhere" / "report.rtf").string());
  EXPECT_FALSE(dialog->IsDocOpen(bed.WorkDir() + "docs/report.rtf"));
  OpenByName("report.rtf");
  EXPECT_EQ(bed.word.DocumentsCount(), 2);
}

TEST_F(OpenFlowTest, IsDocOpenComparesTheFolderWithCase) {
  std::string upper = bed.WorkDir();
  upper.replace(upper.rfind("work"), 4, "WORK");
  std::filesystem::create_directory(upper);
  WriteFile(upper + "report.rtf", "{\\rtf1 x}");
  bed.word.DocumentsOpen(upper + "report.rtf");
  EXPECT_FALSE(dialog->IsDocOpen(bed.WorkDir() + "report.rtf"));
}

TEST_F(OpenFlowTest, IsDocOpenActivatesTheFirstMatch) {
  WriteFile(bed.WorkDir() + "a.rtf", "{\\rtf1 a}");
  const auto first = bed.word.DocumentsOpen(bed.WorkDir() + "a.rtf");
  bed.word.AddDocument("Document2", "{\\rtf1 new}");
  EXPECT_TRUE(dialog->IsDocOpen(bed.WorkDir() + "a.rtf"));
  EXPECT_EQ(bed.word.ActiveDocument(), first);
  EXPECT_FALSE(dialog->IsDocOpen(bed.WorkDir() + "A.rtf"));
}

TEST_F(OpenFlowTest, AnEmptyReplyUnloadsTheDialogWithoutAMessageOfItsOwn) {
  server.InjectFault("No such document");
  OpenByName("report.rtf");
  EXPECT_EQ(bed.prompts.MessageTexts(), std::vector<std::string>{"No such document"});
  EXPECT_FALSE(bed.Context().IsDialogLoaded());
  EXPECT_EQ(bed.word.DocumentsCount(), 0);
  EXPECT_FALSE(bed.pointer.IsBusy());
}

TEST_F(OpenFlowTest, AReplyThatIsNotXmlWritesNoFileAndUnloads) {
  server.ReplyWithText("<Document><G>");
  OpenByName("report.rtf");
  EXPECT_EQ(bed.prompts.MessageTexts(),
            std::vector<std::string>{"ERROR: Unable to load the XML document"});
  EXPECT_EQ(bed.prompts.Messages()[0].icon, MessageIcon::None);
  EXPECT_FALSE(std::filesystem::exists(bed.WorkDir() + "docs/report.rtf"));
  EXPECT_FALSE(bed.Context().IsDialogLoaded());
  EXPECT_EQ(bed.word.DocumentsCount(), 0);
}

TEST_F(OpenFlowTest, AReplyThatIsNotADocumentDoesNotOpenAnOlderCopy) {
  std::filesystem::create_directory(bed.WorkDir() + "docs");
  WriteFile(bed.WorkDir() + "docs/report.rtf", "{\\rtf1 older copy}");
  server.ReplyWithText("<error>no such document</error>");
  OpenByName("report.rtf");
  EXPECT_EQ(bed.prompts.MessageTexts(),
            std::vector<std::string>{"ERROR: Unable to load the XML document"});
  EXPECT_EQ(ReadFile(bed.WorkDir() + "docs/report.rtf"), "{\\rtf1 older copy}");
  EXPECT_EQ(bed.word.DocumentsCount(), 0);
  EXPECT_FALSE(bed.Context().IsDialogLoaded());
}

TEST_F(OpenFlowTest, NamesThatCannotBeLocalFilesAreRefusedBeforeAnythingIsSent) {
  const std::pair<std::string, std::string> names[] = {
      {"..", ".."},           {".", "."},
      {"a\\b", "a\\b"},       {"tab&#9;here", "tab\there"},
      {"PRN.rtf", "PRN.rtf"}, {"a?.rtf", "a?.rtf"},
      {"a.rtf.", "a.rtf."},   {"a.rtf ", "a.rtf "}};
  for (const auto& [inListing, name] : names) {
    server.ReplyWithText("<files><entry name=\"" + inListing + "\" type=\"2\"/></files>");
    dialog->RedrawFiles("/docs");
    server.Behave();
    server.ClearRequests();
    OpenByName(name);
    ASSERT_FALSE(bed.prompts.Messages().empty()) << name;
    EXPECT_EQ(bed.prompts.Messages().back().title, "Penlark Files") << name;
    EXPECT_EQ(bed.prompts.Messages().back().icon, MessageIcon::Exclamation) << name;
    EXPECT_NE(bed.prompts.Messages().back().text.find(name), std::string::npos) << name;
    EXPECT_TRUE(server.Requests().empty()) << name;
  }
  // A folder of the trail that would lead out of the work directory.
  dialog->ImageCombo.Items.push_back("/docs/..");
  dialog->ImageCombo.Select(2);
  OpenByName("report.rtf");
  EXPECT_EQ(bed.prompts.MessageTexts().back(), "The name .. cannot be used for a folder.");
  EXPECT_TRUE(server.Requests().empty());
  EXPECT_EQ(bed.word.DocumentsCount(), 0);
}

TEST_F(OpenFlowTest, AFailedOpenIsRetriedOnceWithANewApplication) {
  EXPECT_FALSE(OpenWithFlakyWord(1));
  EXPECT_EQ(bed.word.NewApplicationCount(), 1);
  EXPECT_EQ(bed.word.DocumentsCount(), 1);
  EXPECT_TRUE(bed.word.IsVisible());
}

TEST_F(OpenFlowTest, AnOpenThatFailsTwiceSaysSoAndUnloads) {
  EXPECT_FALSE(OpenWithFlakyWord(2));
  EXPECT_EQ(bed.word.NewApplicationCount(), 1);
  EXPECT_EQ(bed.word.DocumentsCount(), 0);
  ASSERT_EQ(bed.prompts.Messages().size(), 1u);
  EXPECT_EQ(bed.prompts.Messages()[0].text,
            "The Document report.rtf could not be opened: The remote procedure call failed.");
}

}  // namespace
}  // namespace penlark::testing

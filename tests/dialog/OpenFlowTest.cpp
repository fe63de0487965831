#include "DialogSessionTest.h"

namespace penlark::testing {
namespace {

constexpr std::string_view kReportRtf = FakeMachine::kReportRtf;

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

// A name beyond ASCII is one file name on every system (Windows would read narrow text in its
// ANSI code page).
TEST_F(DialogSessionTest, FetchesConvertsOpensInTheWordProcessorAndUnloads) {
  server.AddFolder("/docs");
  AddRtfDocument("/docs/Bericht über.rtf", kReportRtf);
  OpenDialog& dialog = LoggedInDialog();
  dialog.OpenButton.Caption = kOpenMode;
  DoubleClickItem("docs")(dialog);
  server.ClearRequests();
  DoubleClickItem("Bericht über.rtf")(dialog);

  EXPECT_EQ(RequestsSeen(), std::vector<std::string>{"<getContent dir=\"/docs\" name=\"Bericht "
                                                     "über.rtf\" type=\"2\" username=\"ann\" "
                                                     "password=\"secret\" version=\"2.0\" />"});
  EXPECT_EQ(ReadFile(Utf8Path(bed.WorkDir() + "docs" + kPathSeparator + "Bericht über.rtf")),
            std::string(kReportRtf));
  ASSERT_EQ(bed.word.DocumentsCount(), 1);
  EXPECT_EQ(bed.word.ActiveDocument()->Name(), "Bericht über.rtf");
  EXPECT_EQ(bed.word.ActiveDocument()->Path(), bed.WorkDir() + "docs");
  EXPECT_TRUE(bed.word.IsVisible());
  EXPECT_FALSE(bed.Context().IsDialogLoaded());
  EXPECT_EQ(bed.Context().Server().CurrentFile, "Bericht über.rtf");
  EXPECT_EQ(bed.Context().Server().CurrentDir, "/docs");
  EXPECT_FALSE(bed.pointer.IsBusy());
}

// Refused with a message before anything is fetched; the dialog stays.
TEST_F(DialogRulesTest, OpenRefusesNamesItCannotFetch) {
  for (const char* name : {"..", ".", "a\\b", "tab\there", "PRN.rtf", "a?.rtf", "a.rtf."}) {
    server.Add("/docs", name);
  }
  OpenDialog& dialog = InDocs();
  const auto refused = [](const std::string& name, const char* what) {
    return "The name " + name + " cannot be used for " + what + ".";
  };
  const std::pair<std::string, std::string> rows[] = {
      {"   ", "Filename is EMPTY,\r\nplease retry."},
      {"Report.rtf", "File Report.rtf does not exist in the current FOLDER."},
      {"..", refused("..", "a document")},
      {".", refused(".", "a document")},
      {"a\\b", refused("a\\b", "a document")},
      {"tab\there", refused("tab\there", "a document")},
      // Names Windows cannot hold as files.
      {"PRN.rtf", refused("PRN.rtf", "a document")},
      {"a?.rtf", refused("a?.rtf", "a document")},
      {"a.rtf.", refused("a.rtf.", "a document")},
  };
  std::vector<Message> expected;
  for (const auto& [typed, text] : rows) {
    dialog.FilenameText.Text = typed;
    dialog.OpenButton_Click();
    expected.push_back({.text = text, .icon = MessageIcon::Exclamation, .title = "Penlark Files"});
  }
  // A folder of the trail that would lead out of the work directory.
  dialog.ImageCombo.Items.push_back("/docs/..");
  dialog.ImageCombo.Select(2);
  dialog.FilenameText.Text = "report.rtf";
  dialog.OpenButton_Click();
  expected.push_back({.text = refused("..", "a folder"),
                      .icon = MessageIcon::Exclamation,
                      .title = "Penlark Files"});
  EXPECT_EQ(bed.prompts.Messages(), expected);
  EXPECT_TRUE(server.asked.empty());
  EXPECT_TRUE(bed.Context().IsDialogLoaded());
}

TEST_F(DialogRulesTest, ADocumentAlreadyOpenIsActivatedAndNothingIsFetched) {
  DoubleClickItem("report.rtf")(InDocs());
  const auto opened = bed.word.ActiveDocument();
  bed.word.AddDocument((bed.temp / "other.rtf").string(), "{\\rtf1 other}");
  OpenDialog& again = InDocs();
  DoubleClickItem("report.rtf")(again);
  EXPECT_TRUE(server.asked.empty());
  EXPECT_EQ(bed.prompts.Messages(),
            (std::vector<Message>{{.text = "The Document report.rtf is already open.",
                                   .icon = MessageIcon::Exclamation}}));
  EXPECT_EQ(bed.word.ActiveDocument(), opened);
  EXPECT_TRUE(bed.Context().IsDialogLoaded()) << "the dialog stays shown";
  EXPECT_FALSE(bed.pointer.IsBusy());
}

// Only the local copy itself counts, by its whole path with case; the first match is activated.
TEST_F(DialogRulesTest, IsDocOpenMatchesTheWholePathOfTheLocalCopy) {
  std::string upper = bed.WorkDir();
  upper.replace(upper.rfind("work"), 4, "WORK");
  const std::string elsewhere = (bed.temp / "elsewhere").string() + "/";
  for (const std::string& folder : {upper, elsewhere}) {
    std::filesystem::create_directory(folder);
    WriteFile(folder + "report.rtf", "{\\rtf1 x}");
    bed.word.DocumentsOpen(folder + "report.rtf");
  }
  WriteFile(bed.WorkDir() + "a.rtf", "{\\rtf1 a}");
  const auto first = bed.word.DocumentsOpen(bed.WorkDir() + "a.rtf");
  bed.word.AddDocument("Document2", "{\\rtf1 new}");
  OpenDialog& dialog = bed.Dialog();
  EXPECT_FALSE(dialog.IsDocOpen(bed.WorkDir() + "report.rtf"));
  EXPECT_FALSE(dialog.IsDocOpen(bed.WorkDir() + "A.rtf"));
  EXPECT_TRUE(dialog.IsDocOpen(bed.WorkDir() + "a.rtf"));
  EXPECT_EQ(bed.word.ActiveDocument(), first);
}

// A fetch that fails unloads the dialog, opens nothing and leaves an older copy alone.
TEST(OpenRules, AFailedFetchUnloadsTheDialog) {
  const std::string unloadable = "ERROR: Unable to load the XML document";
  const struct {
    FakeServer::Failure failure;
    std::string text;
    std::string message;
  } rows[] = {
      {FakeServer::Failure::Fault, "No such document", "No such document"},
      {FakeServer::Failure::Unread, "<Document><G>", unloadable},
      {FakeServer::Failure::Unread, "<error>gone</error>", unloadable},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    FakeMachine machine;
    const std::string older = machine.bed.WorkDir() + "docs/report.rtf";
    std::filesystem::create_directory(machine.bed.WorkDir() + "docs");
    WriteFile(older, "{\\rtf1 older copy}");
    OpenDialog& dialog = machine.InDocs();
    machine.server.FailNext(row.failure, row.text);
    DoubleClickItem("report.rtf")(dialog);
    EXPECT_EQ(machine.bed.prompts.Messages(), std::vector<Message>{{.text = row.message}});
    EXPECT_EQ(ReadFile(older), "{\\rtf1 older copy}");
    EXPECT_FALSE(machine.bed.Context().IsDialogLoaded());
    EXPECT_EQ(machine.bed.word.DocumentsCount(), 0);
    EXPECT_FALSE(machine.bed.pointer.IsBusy());
  }
}

// An open that fails is tried once more with a new application; a second failure is reported.
TEST(OpenRules, AFailedOpenIsRetriedOnceWithANewApplication) {
  for (const int failures : {1, 2}) {
    SCOPED_TRACE(failures);
    FakeMachine machine;
    FlakyWord flaky(machine.bed.word, failures);
    Component component(machine.bed.ServicesWith(flaky));
    OpenDialog& dialog = component.Context().Dialog();
    Login("tarn", "ann", "secret", false)(dialog);
    dialog.OpenButton.Caption = kOpenMode;
    DoubleClickItem("report.rtf")(dialog);
    EXPECT_FALSE(component.Context().IsDialogLoaded());
    EXPECT_EQ(machine.bed.word.NewApplicationCount(), 1);
    EXPECT_EQ(machine.bed.word.DocumentsCount(), failures == 1 ? 1 : 0);
    EXPECT_EQ(machine.bed.word.IsVisible(), failures == 1);
    EXPECT_EQ(machine.bed.prompts.MessageTexts(),
              failures == 1
                  ? std::vector<std::string>{}
                  : std::vector<std::string>{"The Document report.rtf could not be "
                                             "opened: The remote procedure call failed."});
  }
}

}  // namespace
}  // namespace penlark::testing

#include "automation/Tarnwell.h"
#include "conversion/Transform.h"
#include "dialog/DialogSessionTest.h"
#include "dialog/OpenDialog.h"
#include "word/SharedWriter.h"

#include <csignal>

#include <gmock/gmock.h>

namespace penlark::testing {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

constexpr std::string_view kReportRtf =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Quarterly report\\par Sales rose by 12%.\\par }";
constexpr std::string_view kDraftRtf =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}}\\f0 Draft \\'e9t\\'e9\\par Second line\\par }";

auto FailsWith(const char* message) {
  return ::testing::ThrowsMessage<WordError>(::testing::StrEq(message));
}

// The dialog's open and save flows and the operations around them, over the shared headless
// Writer and the reference server.
class WriterFlowTest : public DialogSessionTest {
 protected:
  WriterFlowTest() {
    server.AddFolder("/docs");
    AddRtfDocument("/docs/report.rtf", kReportRtf);
  }

  void TearDown() override { CloseAllDocuments(word); }

  // Fetches /docs/NAME through XMLOpen; the document Writer then has active.
  std::shared_ptr<WordDocument> OpenFromServer(const std::string& name) {
    bed.views.Then(LoginAsAnn(true)).Then(DoubleClickItem("docs")).Then(DoubleClickItem(name));
    tarnwell.XMLOpen();
    return word.ActiveDocument();
  }

  std::shared_ptr<WordDocument> OpenLocal(const std::string& name, std::string_view rtf) {
    WriteFile(bed.temp / name, rtf);
    return word.DocumentsOpen((bed.temp / name).string());
  }

  // Saves Writer's active document through XMLSaveAs as /docs/NAME.
  void SaveToServer(const std::string& name) {
    bed.views.Then(LoginAsAnn(true))
        .Then(DoubleClickItem("docs"))
        .Then(Type(&OpenDialog::FilenameText, name))
        .Then(Call(&OpenDialog::OpenButton_Click));
    tarnwell.XMLSaveAs();
  }

  // The local copy of a document of /docs.
  std::string WorkFile(std::string_view name) const {
    return bed.WorkDir() + "docs/" + std::string(name);
  }

  // Expects the server to hold what Writer last wrote of /docs/NAME.
  void ExpectSavedAsWritten(std::string_view name) {
    const auto written = ReadFile(WorkFile(name)).value_or("");
    EXPECT_THAT(written, StartsWith("{\\rtf1"));
    EXPECT_EQ(server.Document("/docs/" + std::string(name)), RtfToXml(written)) << name;
  }

  WriterWord& word = SharedWriter();
  Component component{bed.ServicesWith(word)};
  Tarnwell tarnwell{component};
};

TEST_F(WriterFlowTest, OpenFetchesIntoWriterAndADocumentOpenAlreadyIsOnlyActivated) {
  const auto report = OpenFromServer("report.rtf");

  EXPECT_THAT(RequestsSeen(), Contains(StartsWith(R"(<getContent dir="/docs" name="report.rtf")")));
  EXPECT_EQ(ReadFile(WorkFile("report.rtf")), std::string(kReportRtf));
  ASSERT_EQ(word.DocumentsCount(), 1);
  EXPECT_EQ(report->Name(), "report.rtf");
  EXPECT_EQ(report->Path() + "/", bed.WorkDir() + "docs/");
  EXPECT_TRUE(std::filesystem::exists(WorkFile(".~lock.report.rtf#"))) << "open for editing";
  EXPECT_FALSE(component.Context().IsDialogLoaded());

  OpenLocal("other.rtf", "{\\rtf1 other}");
  OpenDialog& dialog = component.Context().Dialog();
  EXPECT_FALSE(dialog.IsDocOpen(WorkFile("other.rtf"))) << "not in the work directory";
  EXPECT_FALSE(dialog.IsDocOpen(WorkFile("Report.rtf")));
  server.ClearRequests();
  bed.views.Then(DoubleClickItem("docs"))
      .Then(DoubleClickItem("report.rtf"))
      .Then(Call(&OpenDialog::Cancel_Click));
  tarnwell.XMLOpen();

  EXPECT_EQ(bed.prompts.MessageTexts(),
            std::vector<std::string>{"The Document report.rtf is already open."});
  EXPECT_THAT(RequestsSeen(), Not(Contains(HasSubstr("<getContent"))));
  EXPECT_EQ(word.DocumentsCount(), 2);
  EXPECT_EQ(word.ActiveDocument(), report);
}

TEST_F(WriterFlowTest, SaveSendsWhatWriterWroteOfTheActiveDocumentAndAsksBeforeOverwriting) {
  const auto draft = OpenLocal("draft.rtf", kDraftRtf);
  const auto beta = OpenLocal("beta.rtf", "{\\rtf1\\ansi Beta\\par }");
  draft->Activate();
  bed.views.Then([](OpenDialog& dialog) { EXPECT_EQ(dialog.FilenameText.Text, "draft.rtf"); });
  SaveToServer("draft.rtf");

  EXPECT_THAT(RequestsSeen(), Contains(StartsWith(R"(<saveFile dir="/docs" name="draft.rtf")")));
  ExpectSavedAsWritten("draft.rtf");
  const auto written = ReadFile(WorkFile("draft.rtf")).value_or("");
  EXPECT_NE(written, kDraftRtf) << "Writer writes RTF of its own";
  EXPECT_THAT(written, HasSubstr("\\'e9t"));
  EXPECT_THAT(written, HasSubstr("Second line"));
  EXPECT_EQ(draft->Path() + "/", bed.WorkDir() + "docs/");
  EXPECT_EQ(beta->Name(), "beta.rtf");
  EXPECT_TRUE(component.Context().IsDialogLoaded()) << "reloaded, hidden, after the reply";
  EXPECT_TRUE(bed.prompts.Messages().empty());

  // Back from the server as Writer wrote it; saved over its own file, and under a new name.
  tarnwell.XMLClose();
  const auto reopened = OpenFromServer("draft.rtf");
  EXPECT_EQ(ReadFile(WorkFile("draft.rtf")), written);
  bed.prompts.AnswerNext(MessageAnswer::Yes);
  server.ClearRequests();
  SaveToServer("draft.rtf");
  EXPECT_EQ(bed.prompts.MessageTexts(),
            std::vector<std::string>{"Overwrite draft.rtf on Tarnwell server?"});
  EXPECT_THAT(RequestsSeen(), Contains(StartsWith(R"(<saveFile dir="/docs" name="draft.rtf")")));
  ExpectSavedAsWritten("draft.rtf");
  SaveToServer("copy.rtf");
  EXPECT_EQ(reopened->Name(), "copy.rtf");
  ExpectSavedAsWritten("copy.rtf");
}

TEST_F(WriterFlowTest, XmlCloseClosesTheActiveDocumentAndWordCloseNone) {
  const auto a = OpenLocal("a.rtf", "{\\rtf1 a}");
  const auto b = OpenLocal("b.rtf", "{\\rtf1 b}");
  a->Activate();
  EXPECT_FALSE(tarnwell.WordClose());
  EXPECT_TRUE(component.Context().IsDialogLoaded());

  EXPECT_FALSE(tarnwell.XMLClose());
  ASSERT_EQ(word.DocumentsCount(), 1);
  EXPECT_EQ(word.DocumentsItem(1), b);
  EXPECT_THROW(a->Name(), WordError);
  tarnwell.XMLClose();
  EXPECT_EQ(word.DocumentsCount(), 0);
  EXPECT_NO_THROW(tarnwell.XMLClose()) << "nothing to close";

  EXPECT_THAT([&] { tarnwell.WordClose(); }, FailsWith(kNoDocumentMessage));
  const int showings = bed.views.Showings();
  EXPECT_THAT([&] { tarnwell.XMLSaveAs(); }, FailsWith(kNoDocumentMessage));
  EXPECT_EQ(bed.views.Showings(), showings);
}

TEST_F(WriterFlowTest, AnOfficeThatDiedIsReplacedAndTheOpenRetried) {
  const auto before = OpenLocal("before.rtf", "{\\rtf1 before}");
  const int first = word.OfficeProcessId();
  ASSERT_EQ(kill(first, SIGKILL), 0);

  const auto document = OpenFromServer("report.rtf");

  EXPECT_NE(word.OfficeProcessId(), first);
  EXPECT_EQ(word.DocumentsCount(), 1);
  EXPECT_EQ(document->Name(), "report.rtf");
  EXPECT_THROW(before->Name(), WordError);
  EXPECT_TRUE(bed.prompts.Messages().empty());
}

}  // namespace
}  // namespace penlark::testing

#include "RtfText.h"
#include "automation/Tarnwell.h"
#include "conversion/Transform.h"
#include "dialog/DialogSessionTest.h"
#include "dialog/OpenDialog.h"
#include "word/SharedWriter.h"
#include "word/WordErrorOf.h"

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

  // The text of a document on the server.
  std::string ServerText(std::string_view serverPath) {
    const auto xml = server.Document(serverPath);
    return xml ? RtfText(XmlToRtf(*xml).rtf) : "(no such document)";
  }

  // The local copy of a document of /docs.
  std::string WorkFile(std::string_view name) const {
    return bed.WorkDir() + "docs/" + std::string(name);
  }

  WriterWord& word = SharedWriter();
  Component component{bed.ServicesWith(word)};
  Tarnwell tarnwell{component};
};

TEST_F(WriterFlowTest, OpeningFetchesTheDocumentAndWriterHasItOpenFromTheWorkDirectory) {
  const auto document = OpenFromServer("report.rtf");

  EXPECT_THAT(RequestsSeen(), Contains(StartsWith(R"(<getContent dir="/docs" name="report.rtf")")));
  EXPECT_EQ(ReadFile(WorkFile("report.rtf")), std::string(kReportRtf));
  ASSERT_EQ(word.DocumentsCount(), 1);
  EXPECT_EQ(word.DocumentsItem(1), document);
  EXPECT_EQ(document->Name(), "report.rtf");
  EXPECT_EQ(document->Path() + "/", bed.WorkDir() + "docs/");
  EXPECT_TRUE(std::filesystem::exists(WorkFile(".~lock.report.rtf#"))) << "open for editing";
  EXPECT_FALSE(component.Context().IsDialogLoaded());
  EXPECT_TRUE(bed.prompts.Messages().empty());
}

TEST_F(WriterFlowTest, SavingSendsWhatWriterWroteOfTheActiveDocument) {
  const auto draft = OpenLocal("draft.rtf", kDraftRtf);
  SaveToServer("draft.rtf");

  const auto written = ReadFile(WorkFile("draft.rtf"));
  ASSERT_TRUE(written.has_value());
  EXPECT_THAT(*written, StartsWith("{\\rtf1"));
  EXPECT_NE(*written, kDraftRtf) << "Writer writes RTF of its own";
  EXPECT_EQ(draft->Name(), "draft.rtf");
  EXPECT_EQ(draft->Path() + "/", bed.WorkDir() + "docs/");
  EXPECT_THAT(RequestsSeen(), Contains(StartsWith(R"(<saveFile dir="/docs" name="draft.rtf")")));
  EXPECT_EQ(server.Document("/docs/draft.rtf"), RtfToXml(*written));
  EXPECT_EQ(ServerText("/docs/draft.rtf"), "Draft été\nSecond line");
  EXPECT_TRUE(component.Context().IsDialogLoaded()) << "reloaded, hidden, after the reply";
}

TEST_F(WriterFlowTest, ADocumentSavedAndOpenedAgainKeepsItsText) {
  OpenLocal("draft.rtf", kDraftRtf);
  SaveToServer("draft.rtf");
  tarnwell.XMLClose();
  ASSERT_EQ(word.DocumentsCount(), 0);

  const auto reopened = OpenFromServer("draft.rtf");
  SaveToServer("copy.rtf");

  EXPECT_EQ(reopened->Name(), "copy.rtf");
  EXPECT_EQ(ServerText("/docs/copy.rtf"), RtfText(kDraftRtf));
}

TEST_F(WriterFlowTest, SavingTakesTheActiveDocumentNotTheNewest) {
  const auto alpha = OpenLocal("alpha.rtf", "{\\rtf1\\ansi Alpha\\par }");
  const auto beta = OpenLocal("beta.rtf", "{\\rtf1\\ansi Beta\\par }");
  alpha->Activate();
  bed.views.Then([](OpenDialog& dialog) { EXPECT_EQ(dialog.FilenameText.Text, "alpha.rtf"); });
  SaveToServer("chosen.rtf");

  EXPECT_EQ(ServerText("/docs/chosen.rtf"), "Alpha");
  EXPECT_EQ(alpha->Name(), "chosen.rtf");
  EXPECT_EQ(beta->Name(), "beta.rtf");
}

TEST_F(WriterFlowTest, IsDocOpenFindsTheServerDocumentAndActivatesIt) {
  const auto report = OpenFromServer("report.rtf");
  OpenLocal("other.rtf", "{\\rtf1 other}");
  OpenDialog& dialog = component.Context().Dialog();

  EXPECT_TRUE(dialog.IsDocOpen(WorkFile("report.rtf")));
  EXPECT_EQ(word.ActiveDocument(), report);
  EXPECT_FALSE(dialog.IsDocOpen(WorkFile("other.rtf"))) << "not in the work directory";
  EXPECT_FALSE(dialog.IsDocOpen(WorkFile("Report.rtf")));
}

TEST_F(WriterFlowTest, OpeningADocumentThatIsOpenActivatesItAndFetchesNothing) {
  const auto report = OpenFromServer("report.rtf");
  OpenLocal("other.rtf", "{\\rtf1 other}");
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

TEST_F(WriterFlowTest, XmlCloseClosesTheActiveDocumentOnly) {
  const auto report = OpenFromServer("report.rtf");
  const auto other = OpenLocal("other.rtf", "{\\rtf1 other}");
  report->Activate();

  tarnwell.XMLClose();

  ASSERT_EQ(word.DocumentsCount(), 1);
  EXPECT_EQ(word.DocumentsItem(1), other);
  EXPECT_THROW(report->Name(), WordError);
  EXPECT_FALSE(std::filesystem::exists(WorkFile(".~lock.report.rtf#")));
  tarnwell.XMLClose();
  EXPECT_EQ(word.DocumentsCount(), 0);
  EXPECT_NO_THROW(tarnwell.XMLClose()) << "nothing to close";
}

TEST_F(WriterFlowTest, WordCloseReadsTheActiveDocumentAndClosesNothing) {
  OpenLocal("letter.rtf", "{\\rtf1 letter}");
  EXPECT_FALSE(tarnwell.WordClose());
  EXPECT_EQ(word.DocumentsCount(), 1);
  EXPECT_TRUE(component.Context().IsDialogLoaded());
}

TEST_F(WriterFlowTest, WithNoDocumentWordCloseAndXmlSaveAsFailWithWritersMessage) {
  OpenFromServer("report.rtf");
  tarnwell.XMLClose();

  EXPECT_EQ(WordErrorOf([&] { tarnwell.WordClose(); }), kNoDocumentMessage);
  const int showings = bed.views.Showings();
  EXPECT_EQ(WordErrorOf([&] { tarnwell.XMLSaveAs(); }), kNoDocumentMessage);
  EXPECT_EQ(bed.views.Showings(), showings);
}

TEST_F(WriterFlowTest, AnOfficeThatDiedIsReplacedAndTheOpenRetried) {
  const int first = word.OfficeProcessId();
  ASSERT_EQ(kill(first, SIGKILL), 0);

  const auto document = OpenFromServer("report.rtf");

  EXPECT_NE(word.OfficeProcessId(), first);
  EXPECT_EQ(word.DocumentsCount(), 1);
  EXPECT_EQ(document->Name(), "report.rtf");
  EXPECT_TRUE(bed.prompts.Messages().empty());
}

}  // namespace
}  // namespace penlark::testing

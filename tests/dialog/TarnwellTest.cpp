#include "DialogSessionTest.h"
#include "automation/Tarnwell.h"
#include "dialog/OpenDialog.h"

namespace penlark::testing {
namespace {

class TarnwellTest : public DialogSessionTest {
 protected:
  TarnwellTest() {
    server.AddFolder("/docs");
    AddRtfDocument("/docs/report.rtf", "{\\rtf1 report}");
  }

  std::shared_ptr<WordDocument> OpenLocalDocument(const std::string& name) {
    WriteFile(bed.temp / name, "{\\rtf1 local}");
    return bed.word.DocumentsOpen((bed.temp / name).string());
  }

  Tarnwell tarnwell{bed.component};
};

TEST_F(TarnwellTest, StartsWithDoctypeZeroAndXmlNewReturnsTrueDoingNothing) {
  EXPECT_EQ(tarnwell.DOCTYPE, 0);
  EXPECT_TRUE(tarnwell.XMLNew());
  EXPECT_FALSE(bed.Context().IsDialogLoaded());
}

TEST_F(TarnwellTest, XmlOpenShowsTheDialogInOpenModeAndReturnsFalseAfterAnOpen) {
  bed.Context().Server().CurrentFile = "kept";
  bed.views.Then([this](OpenDialog& dialog) {
    EXPECT_EQ(dialog.Caption, "Tarnwell Open");
    EXPECT_EQ(dialog.OpenButton.Caption, "Open");
    EXPECT_EQ(bed.Context().Server().CurrentFile, "kept");
  });
  bed.views.Then(LoginAsAnn()).Then(DoubleClickItem("docs")).Then(DoubleClickItem("report.rtf"));
  EXPECT_FALSE(tarnwell.XMLOpen());
  EXPECT_TRUE(bed.views.ScriptDone());
  EXPECT_EQ(bed.word.DocumentsCount(), 1);
  EXPECT_FALSE(bed.Context().IsDialogLoaded());
}

TEST_F(TarnwellTest, XmlSaveAsClearsTheCurrentFileAndShowsTheActiveDocumentsName) {
  OpenLocalDocument("letter.rtf");
  bed.Context().Server().CurrentFile = "previous.rtf";
  bed.views.Then([this](OpenDialog& dialog) {
    EXPECT_EQ(bed.Context().Server().CurrentFile, "");
    EXPECT_EQ(dialog.FilenameText.Text, "letter.rtf");
    EXPECT_EQ(dialog.Caption, "Tarnwell SaveAs...");
    EXPECT_EQ(dialog.OpenButton.Caption, "Save");
  });
  bed.views.Then(Call(&OpenDialog::Cancel_Click));
  EXPECT_FALSE(tarnwell.XMLSaveAs());
  EXPECT_TRUE(bed.views.ScriptDone());
}

TEST_F(TarnwellTest, XmlSaveBehavesLikeXmlSaveAs) {
  OpenLocalDocument("letter.rtf");
  bed.views.Then(LoginAsAnn())
      .Then(DoubleClickItem("docs"))
      .Then(Type(&OpenDialog::FilenameText, "letter.rtf"))
      .Then(Call(&OpenDialog::OpenButton_Click));
  EXPECT_FALSE(tarnwell.XMLSave());
  EXPECT_TRUE(server.Document("/docs/letter.rtf").has_value());
  EXPECT_TRUE(bed.Context().IsDialogLoaded()) << "reloaded and hidden after the save";
}

TEST_F(TarnwellTest, XmlSaveAsWithNoDocumentFailsWithTheWordProcessorsError) {
  EXPECT_THROW(tarnwell.XMLSaveAs(), WordError);
  EXPECT_EQ(bed.views.Showings(), 0);
}

// With none, one or two documents open: the active one closes, the others stay.
TEST_F(TarnwellTest, XmlCloseClosesTheActiveDocumentOnly) {
  EXPECT_FALSE(tarnwell.XMLClose());
  EXPECT_EQ(bed.word.DocumentsCount(), 0);
  OpenLocalDocument("only.rtf");
  EXPECT_FALSE(tarnwell.XMLClose());
  EXPECT_EQ(bed.word.DocumentsCount(), 0);
  const auto first = OpenLocalDocument("a.rtf");
  OpenLocalDocument("b.rtf");
  EXPECT_FALSE(tarnwell.XMLClose());
  ASSERT_EQ(bed.word.DocumentsCount(), 1);
  EXPECT_EQ(bed.word.DocumentsItem(1), first);
}

TEST_F(TarnwellTest, WordCloseLoadsTheDialogAndClosesNothing) {
  OpenLocalDocument("a.rtf");
  EXPECT_FALSE(tarnwell.WordClose());
  EXPECT_EQ(bed.word.DocumentsCount(), 1);
  EXPECT_TRUE(bed.Context().IsDialogLoaded());
  EXPECT_EQ(bed.views.Showings(), 0);
}

TEST_F(TarnwellTest, WordCloseWithNoDocumentFails) {
  try {
    tarnwell.WordClose();
    FAIL() << "no document is open";
  } catch (const WordError& error) {
    EXPECT_STREQ(error.what(), "This command is not available because no document is open.");
  }
}

TEST_F(TarnwellTest, XmlHelpOpensTheHelpPageAndLeavesTheDialogLoadedAndHidden) {
  EXPECT_FALSE(tarnwell.XMLHelp());
  EXPECT_EQ(bed.shell.Opened(),
            std::vector<std::string>{bed.InstallPath().string() + "/docs/running.html"});
  EXPECT_TRUE(bed.Context().IsDialogLoaded());
  EXPECT_EQ(bed.views.Showings(), 0);
}

TEST_F(TarnwellTest, ClosingTheDialogWithItsCloseBoxReturnsFalse) {
  bed.views.Then(Call(&OpenDialog::Form_QueryUnload));
  EXPECT_FALSE(tarnwell.XMLOpen());
  EXPECT_FALSE(bed.Context().IsDialogLoaded());
}

}  // namespace
}  // namespace penlark::testing

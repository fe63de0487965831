#include "DialogSessionTest.h"
#include "automation/Tarnwell.h"

namespace penlark::testing {
namespace {

class TarnwellTest : public DialogRulesTest {
 protected:
  Tarnwell tarnwell{bed.component};
};

// Save As, from the operation through the modal dialog to the server and back.
TEST_F(DialogSessionTest, XmlSaveStoresTheActiveDocumentUnderTheChosenName) {
  server.AddFolder("/docs");
  bed.OpenLocal("letter.rtf", "{\\rtf1 letter}");
  Tarnwell tarnwell{bed.component};
  bed.views.Then(LoginAsAnn())
      .Then(DoubleClickItem("docs"))
      .Then(Type(&OpenDialog::FilenameText, "letter.rtf"))
      .Then(Call(&OpenDialog::OpenButton_Click));
  EXPECT_FALSE(tarnwell.XMLSave());
  EXPECT_TRUE(bed.views.ScriptDone());
  EXPECT_EQ(server.Document("/docs/letter.rtf"), bed.XmlOf("{\\rtf1 letter}"));
  EXPECT_TRUE(bed.Context().IsDialogLoaded()) << "reloaded and hidden after the save";
}

TEST_F(TarnwellTest, XmlNewReturnsTrueDoingNothing) {
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
  bed.views.Then(Login("tarn", "ann", "secret", false)).Then(DoubleClickItem("report.rtf"));
  EXPECT_FALSE(tarnwell.XMLOpen());
  EXPECT_TRUE(bed.views.ScriptDone());
  EXPECT_EQ(bed.word.DocumentsCount(), 1);
  EXPECT_FALSE(bed.Context().IsDialogLoaded());
}

TEST_F(TarnwellTest, XmlSaveAsClearsTheCurrentFileAndShowsTheActiveDocumentsName) {
  EXPECT_THROW(tarnwell.XMLSaveAs(), WordError) << "no document";
  EXPECT_EQ(bed.views.Showings(), 0);
  bed.OpenLocal("letter.rtf", "{\\rtf1 local}");
  bed.Context().Server().CurrentFile = "previous.rtf";
  bed.views.Then([this](OpenDialog& dialog) {
    EXPECT_EQ(bed.Context().Server().CurrentFile, "");
    EXPECT_EQ(dialog.FilenameText.Text, "letter.rtf");
    EXPECT_EQ(dialog.Caption, "Tarnwell SaveAs...");
    EXPECT_EQ(dialog.OpenButton.Caption, "Save");
  });
  bed.views.Then(Call(&OpenDialog::Form_QueryUnload));
  EXPECT_FALSE(tarnwell.XMLSaveAs());
  EXPECT_TRUE(bed.views.ScriptDone());
  EXPECT_FALSE(bed.Context().IsDialogLoaded());
}

// With none, one or two documents open: the active one closes, the others stay.
TEST_F(TarnwellTest, XmlCloseClosesTheActiveDocumentOnly) {
  EXPECT_FALSE(tarnwell.XMLClose());
  EXPECT_EQ(bed.word.DocumentsCount(), 0);
  bed.OpenLocal("only.rtf", "{\\rtf1 local}");
  EXPECT_FALSE(tarnwell.XMLClose());
  EXPECT_EQ(bed.word.DocumentsCount(), 0);
  const auto first = bed.OpenLocal("a.rtf", "{\\rtf1 local}");
  bed.OpenLocal("b.rtf", "{\\rtf1 local}");
  EXPECT_FALSE(tarnwell.XMLClose());
  ASSERT_EQ(bed.word.DocumentsCount(), 1);
  EXPECT_EQ(bed.word.DocumentsItem(1), first);
}

TEST_F(TarnwellTest, WordCloseLoadsTheDialogAndClosesNothing) {
  try {
    tarnwell.WordClose();
    ADD_FAILURE() << "no document is open";
  } catch (const WordError& error) {
    EXPECT_STREQ(error.what(), "This command is not available because no document is open.");
  }
  bed.OpenLocal("a.rtf", "{\\rtf1 local}");
  EXPECT_FALSE(tarnwell.WordClose());
  EXPECT_EQ(bed.word.DocumentsCount(), 1);
  EXPECT_TRUE(bed.Context().IsDialogLoaded());
  EXPECT_EQ(bed.views.Showings(), 0);
}

TEST_F(TarnwellTest, XmlHelpOpensTheHelpPageAndLeavesTheDialogLoadedAndHidden) {
  EXPECT_FALSE(tarnwell.XMLHelp());
  EXPECT_EQ(bed.shell.Opened(),
            std::vector<std::string>{(bed.InstallPath() / "docs" / "running.html").string()});
  EXPECT_TRUE(bed.Context().IsDialogLoaded());
  EXPECT_EQ(bed.views.Showings(), 0);
}

}  // namespace
}  // namespace penlark::testing

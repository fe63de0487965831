#include "DialogRules.h"
#include "automation/Tarnwell.h"

#include <thread>
#include <tuple>

namespace penlark::testing {
namespace {

class TarnwellTest : public DialogRulesTest {
 protected:
  Tarnwell tarnwell{bed.component};
};

// XMLNew does nothing; XMLHelp opens the help page; WordClose closes nothing. The last two leave
// the dialog loaded and hidden. XMLClose closes the active document only.
TEST_F(TarnwellTest, TheOperationsThatShowNoDialog) {
  EXPECT_TRUE(tarnwell.XMLNew());
  EXPECT_FALSE(bed.Context().IsDialogLoaded());
  EXPECT_FALSE(tarnwell.XMLHelp());
  EXPECT_EQ(bed.shell.Opened(),
            std::vector<std::string>{(bed.InstallPath() / "docs" / "running.html").string()});
  bed.Context().UnloadDialog();
  try {
    tarnwell.WordClose();
    ADD_FAILURE() << "no document is open";
  } catch (const WordError& error) {
    EXPECT_STREQ(error.what(), "This command is not available because no document is open.");
  }
  EXPECT_TRUE(bed.Context().IsDialogLoaded());
  EXPECT_FALSE(tarnwell.XMLClose());
  for (const int count : {1, 2}) {
    for (int opened = 0; opened < count; ++opened) {
      bed.OpenLocal(std::to_string(opened) + ".rtf", "{\\rtf1 local}");
    }
    EXPECT_FALSE(tarnwell.WordClose());
    EXPECT_FALSE(tarnwell.XMLClose());
    ASSERT_EQ(bed.word.DocumentsCount(), count - 1);
  }
  EXPECT_EQ(bed.word.DocumentsItem(1)->Name(), "0.rtf");
  EXPECT_EQ(bed.views.showings, 0);
}

// XMLOpen shows the dialog in Open mode and keeps the current file; XMLSave and XMLSaveAs clear
// it and show the active document's name in Save mode. All return false once it is unloaded.
TEST_F(TarnwellTest, TheOperationsThatShowTheDialog) {
  EXPECT_THROW(tarnwell.XMLSaveAs(), WordError) << "no document";
  bed.OpenLocal("letter.rtf", "{\\rtf1 local}");
  const std::tuple<bool (Tarnwell::*)(), const char*, const char*, const char*> rows[] = {
      {&Tarnwell::XMLOpen, "Tarnwell Open", "Open", "kept"},
      {&Tarnwell::XMLSave, "Tarnwell SaveAs...", "Save", ""},
      {&Tarnwell::XMLSaveAs, "Tarnwell SaveAs...", "Save", ""}};
  for (const auto& [operation, caption, button, currentFile] : rows) {
    bed.Context().Server().CurrentFile = "kept";
    bed.views.actions = {[&, this](OpenDialog& dialog) {
      EXPECT_EQ(bed.Context().Server().CurrentFile, currentFile);
      EXPECT_EQ(dialog.FilenameText.Text, *currentFile == '\0' ? "letter.rtf" : "Text1");
      EXPECT_EQ(dialog.Caption, caption);
      EXPECT_EQ(dialog.OpenButton.Caption, button);
      dialog.Form_QueryUnload();
    }};
    EXPECT_FALSE((tarnwell.*operation)());
    EXPECT_FALSE(bed.Context().IsDialogLoaded());
  }
  EXPECT_EQ(bed.views.showings, 3);
}

// One test, because the factory is installed for the whole process.
TEST(Component, EachThreadGetsItsOwnFromTheInstalledFactory) {
  EXPECT_THROW(Component::Current(), std::logic_error);
  int made = 0;
  Component::SetFactory([&made] {
    ++made;
    return ComponentParts{.word = std::make_shared<LocalWord>(),
                          .prompts = std::make_unique<ScriptedPrompts>(),
                          .pointer = std::make_unique<RecordingPointer>(),
                          .shell = std::make_unique<RecordingShell>(),
                          .views = std::make_unique<ScriptedDialogViews>()};
  });
  Component& first = Component::Current();
  EXPECT_EQ(&Component::Current(), &first);
  Component* other = nullptr;
  std::thread([&other] { other = &Component::Current(); }).join();
  EXPECT_NE(other, &first);
  EXPECT_EQ(made, 2);
  Component::EndCurrent();
  Component::Current();
  EXPECT_EQ(made, 3);
  Component::EndCurrent();
  Component::SetFactory({});
}

}  // namespace
}  // namespace penlark::testing

#include "automation/Tarnwell.h"
#include "dialog/script/ScriptedUser.h"
#include "support/dialog/FakeServer.h"

#include <sstream>
#include <stdexcept>
#include <thread>
#include <tuple>

#include <gmock/gmock.h>

namespace penlark::testing {
namespace {

class TarnwellTest : public DialogRulesTest {
 protected:
  Tarnwell tarnwell{bed.component};
};

// XMLNew does nothing, XMLHelp opens the help page, XMLClose closes the active document only.
TEST_F(TarnwellTest, TheOperationsThatShowNoDialog) {
  EXPECT_TRUE(tarnwell.XMLNew());
  EXPECT_FALSE(bed.Context().IsDialogLoaded());
  EXPECT_FALSE(tarnwell.XMLHelp());
  EXPECT_EQ(bed.shell.Opened(),
            std::vector<std::string>{(bed.InstallPath() / "docs" / "running.html").string()});
  bed.Context().UnloadDialog();
  EXPECT_THAT([&] { tarnwell.WordClose(); },
              ::testing::ThrowsMessage<WordError>(
                  ::testing::StrEq("This command is not available because no document is open.")));
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

// XMLOpen keeps the current file, XMLSave and XMLSaveAs clear it; all false once unloaded.
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

// Statuses: 0 normal, 1 busy, 2 hidden, 3 shown again; any other is refused.
TEST_F(DialogRulesTest, SetMouseCursorFollowsItsTable) {
  OpenDialog& dialog = bed.Dialog();
  const struct {
    int status;
    bool result;
    bool busy;
    bool hidden;
  } rows[] = {{1, true, true, false},   {0, true, false, false}, {2, true, false, true},
              {3, true, false, false},  {1, true, true, false},  {4, false, true, false},
              {-1, false, true, false}, {2, true, true, true},   {-1, false, true, true}};
  for (const auto& row : rows) {
    EXPECT_EQ(dialog.SetMouseCursor(row.status), row.result) << row.status;
    EXPECT_EQ(bed.pointer.IsBusy(), row.busy) << row.status;
    EXPECT_EQ(bed.pointer.IsHidden(), row.hidden) << row.status;
  }
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

// Each showing plays the next block; a line the player cannot do fails the showing.
TEST(ScriptedUser, PlaysEachShowingFromTheNextBlockOfTheScript) {
  const TempDir dir;
  WriteFile(dir / "script",
            "set user ann\nclick nowhere\n--\nanswer maybe\n--\nset colour red\n--\n"
            "set filename a.rtf\n--\nanswer yes\nanswer no\nclick cancel\n");
  const ScopedEnv script("PENLARK_DIALOG_SCRIPT", (dir / "script").string());
  std::ostringstream messages;
  std::optional<ScriptedUser> user = ScriptedUserFromEnvironment(messages);
  ASSERT_TRUE(user);
  DialogTestBed bed(*user->views);
  for (const char* failure : {"dialog script: no button nowhere", "dialog script: no answer maybe",
                              "dialog script: cannot set colour red", kScriptEndedOpen}) {
    EXPECT_THAT([&] { bed.Context().ShowDialog(); },
                ::testing::ThrowsMessage<std::runtime_error>(::testing::StrEq(failure)));
  }
  EXPECT_EQ(bed.Dialog().UsernameText.Text, "ann");
  EXPECT_EQ(bed.Dialog().FilenameText.Text, "a.rtf");
  bed.Context().ShowDialog();
  EXPECT_FALSE(bed.Context().IsDialogLoaded());
  const Message question{.text = "Replace?", .buttons = MessageButtons::YesNo};
  EXPECT_EQ(user->prompts->ShowMessage(question), MessageAnswer::Yes);
  EXPECT_EQ(user->prompts->ShowMessage(question), MessageAnswer::No);
  EXPECT_EQ(user->prompts->ShowMessage({.text = "Done\r\nagain"}), MessageAnswer::Ok);
  EXPECT_EQ(user->prompts->ShowMessage(question), MessageAnswer::No);
  EXPECT_EQ(messages.str(), "Replace?\nReplace?\nDone  again\nReplace?\n");
}

}  // namespace
}  // namespace penlark::testing

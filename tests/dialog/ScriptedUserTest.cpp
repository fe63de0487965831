#include "dialog/DialogContext.h"
#include "dialog/OpenDialog.h"
#include "dialog/script/ScriptedUser.h"
#include "support/TempDir.h"
#include "support/dialog/DialogTestBed.h"

#include <sstream>
#include <stdexcept>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace penlark::testing {
namespace {

// Each showing plays the next block of the script; what the player cannot do fails the showing
// with the line, and so does a block that leaves the dialog up in a host that cannot wait. The
// answers of a block go to the next Yes/No questions; then questions are answered No.
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

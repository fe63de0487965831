#include "support/RecordingServices.h"
#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

namespace penlark::testing {
namespace {

TEST(ScriptedPrompts, OkBoxesNeedNoScriptAndAreRecordedWithTheirTitle) {
  ScriptedPrompts prompts;
  EXPECT_EQ(prompts.ShowMessage({.text = "Values are empty!!!",
                                 .icon = MessageIcon::Exclamation,
                                 .title = "Penlark Files"}),
            MessageAnswer::Ok);
  EXPECT_EQ(prompts.ShowMessage({.text = "plain"}), MessageAnswer::Ok);
  ASSERT_EQ(prompts.Messages().size(), 2u);
  EXPECT_EQ(prompts.Messages()[0].title, "Penlark Files");
  EXPECT_EQ(prompts.Messages()[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(prompts.Messages()[1].title, "Penlark");
  EXPECT_EQ(prompts.Messages()[1].icon, MessageIcon::None);
}

TEST(ScriptedPrompts, QuestionsTakeTheScriptedAnswersInOrder) {
  ScriptedPrompts prompts;
  prompts.AnswerNext(MessageAnswer::No);
  prompts.AnswerNext(MessageAnswer::Yes);
  const Message question{.text = "Delete a from Tarnwell server?",
                         .buttons = MessageButtons::YesNo};
  EXPECT_EQ(prompts.ShowMessage(question), MessageAnswer::No);
  EXPECT_EQ(prompts.ShowMessage(question), MessageAnswer::Yes);
  EXPECT_TRUE(prompts.ScriptDone());
  EXPECT_EQ(prompts.MessageTexts(), std::vector<std::string>(2, question.text));
}

TEST(ScriptedPrompts, AnUnscriptedQuestionIsAnError) {
  ScriptedPrompts prompts;
  EXPECT_THROW(prompts.ShowMessage({.text = "?", .buttons = MessageButtons::YesNo}),
               UnexpectedPrompt);
  prompts.AnswerNext(MessageAnswer::Ok);
  EXPECT_THROW(prompts.ShowMessage({.text = "?", .buttons = MessageButtons::YesNo}),
               UnexpectedPrompt);
  EXPECT_THROW(prompts.InputBox({.prompt = "Folder Name: "}), UnexpectedPrompt);
}

TEST(ScriptedPrompts, InputBoxesReturnTypedTextOrEmptyWhenCancelled) {
  ScriptedPrompts prompts;
  prompts.TypeNext("  new   folder ");
  prompts.CancelNextInput();
  const InputRequest request{.prompt = "Folder Name: ", .title = "Create Folder"};
  EXPECT_EQ(prompts.InputBox(request), "  new   folder ");
  EXPECT_EQ(prompts.InputBox(request), "");
  ASSERT_EQ(prompts.Inputs().size(), 2u);
  EXPECT_EQ(prompts.Inputs()[0], request);
  EXPECT_TRUE(prompts.ScriptDone());
}

TEST(RecordingPointer, IsNotCounted) {
  RecordingPointer pointer;
  pointer.SetBusy();
  pointer.SetBusy();
  pointer.SetDefault();
  EXPECT_FALSE(pointer.IsBusy());
  pointer.Hide();
  pointer.Hide();
  pointer.Show();
  EXPECT_FALSE(pointer.IsHidden());
  EXPECT_EQ(pointer.Calls(), (std::vector<PointerCall>{PointerCall::SetBusy, PointerCall::SetBusy,
                                                       PointerCall::SetDefault, PointerCall::Hide,
                                                       PointerCall::Hide, PointerCall::Show}));
}

}  // namespace
}  // namespace penlark::testing

#include "support/dialog/FakeServer.h"

#include <functional>

namespace penlark::testing {
namespace {

// A word processor whose first opens fail, as one that has gone away would.
class FlakyWord final : public Word {
 public:
  FlakyWord(Word& inner, int failures) : inner_(inner), failures_(failures) {}

  int DocumentsCount() override { return inner_.DocumentsCount(); }
  std::shared_ptr<WordDocument> DocumentsItem(int index) override {
    return inner_.DocumentsItem(index);
  }
  std::shared_ptr<WordDocument> DocumentsOpen(const std::string& fileName) override {
    if (failures_-- > 0) {
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

// Refused with a message before anything is fetched; the dialog stays.
TEST_F(DialogRulesTest, OpenRefusesNamesItCannotFetch) {
  server.Add("/docs", "a\\b");
  OpenDialog& dialog = InDocs();
  const std::pair<std::string, std::string> rows[] = {
      {"   ", "Filename is EMPTY,\r\nplease retry."},
      {"Report.rtf", "File Report.rtf does not exist in the current FOLDER."},
      {"a\\b", "The name a\\b cannot be used for a document."},
      {"report.rtf", "The name .. cannot be used for a folder."},
  };
  std::vector<Message> expected;
  for (const auto& [typed, text] : rows) {
    if (typed == "report.rtf") {  // in a folder of the trail that leads out of the work directory
      dialog.ImageCombo.Items.push_back("/docs/..");
      dialog.ImageCombo.Select(2);
    }
    dialog.FilenameText.Text = typed;
    dialog.OpenButton_Click();
    expected.push_back({.text = text, .icon = MessageIcon::Exclamation, .title = "Penlark Files"});
  }
  EXPECT_EQ(bed.prompts.Messages(), expected);
  EXPECT_TRUE(server.asked.empty());
  EXPECT_TRUE(bed.Context().IsDialogLoaded());
}

// Only the local copy itself counts, by its whole path with case.
TEST_F(DialogRulesTest, ADocumentAlreadyOpenIsActivatedAndNothingIsFetched) {
  std::string upper = bed.WorkDir();
  upper.replace(upper.rfind("work"), 4, "WORK");
  std::filesystem::create_directories(upper + "docs");
  WriteFile(upper + "docs/report.rtf", "{\\rtf1 x}");
  const auto other = bed.word.DocumentsOpen(upper + "docs/report.rtf");
  DoubleClickItem("report.rtf")(InDocs());
  ASSERT_EQ(bed.word.DocumentsCount(), 2);
  const auto opened = bed.word.ActiveDocument();
  other->Activate();
  DoubleClickItem("report.rtf")(InDocs());
  EXPECT_TRUE(server.asked.empty());
  EXPECT_EQ(bed.prompts.Messages(),
            (std::vector<Message>{{.text = "The Document report.rtf is already open.",
                                   .icon = MessageIcon::Exclamation}}));
  EXPECT_EQ(bed.word.ActiveDocument(), opened);
  EXPECT_TRUE(bed.Context().IsDialogLoaded());
  EXPECT_FALSE(bed.pointer.IsBusy());
}

// A fetch that fails unloads the dialog, opens nothing and leaves an older copy alone.
TEST(OpenRules, AFailedFetchUnloadsTheDialog) {
  const struct {
    FakeServer::Failure failure;
    std::string text;
    std::string message;
  } rows[] = {
      {FakeServer::Failure::Fault, "No such document", "No such document"},
      {FakeServer::Failure::Unread, "<error>gone</error>",
       "ERROR: Unable to load the XML document"},
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
    Component component(machine.bed.ServicesWith(flaky, machine.bed.views));
    OpenDialog& dialog = component.Context().Dialog();
    Login("tarn", "ann", "secret", false)(dialog);
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

// How a save ends: what was asked and sent, and whether a dialog is loaded afterwards.
TEST(SaveRules, WhatASaveLeaves) {
  const std::string save = "saveFile /docs draft.rtf 2";
  const struct {
    const char* name;
    std::function<void(FakeMachine&)> before;
    std::vector<std::string> messages;
    std::vector<std::string> asked;
    bool loaded;
  } rows[] = {
      {"a new name", {}, {}, {save, "getFiles /", "getFiles /"}, true},
      {"no document", [](FakeMachine& m) { m.bed.word.ActiveDocument()->Close(); }, {}, {}, false},
      {"a fault",
       [](FakeMachine& m) { m.server.FailNext(FakeServer::Failure::Fault, "Disk full"); },
       {"Disk full"},
       {save},
       false},
      {"a listing that did not read, answered No",
       [](FakeMachine& m) {
         m.server.FailNext(FakeServer::Failure::Unread, "<error>busy</error>");
         m.bed.Dialog().RedrawFiles("/docs");
       },
       {"Overwrite draft.rtf on Tarnwell server?"},
       {"getFiles /docs"},
       true},
      {"no automatic login after the save",
       [](FakeMachine& m) { std::filesystem::remove_all(m.bed.InstallPath() / "history"); },
       {},
       {save},
       true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    FakeMachine machine;
    machine.bed.OpenLocal("draft.rtf", "{\\rtf1 Draft}");
    OpenDialog& dialog = machine.InDocs(kSaveMode);
    if (row.before) {
      row.before(machine);
    }
    machine.bed.prompts.AnswerNext(MessageAnswer::No);
    dialog.FilenameText.Text = "draft.rtf";
    dialog.OpenButton_Click();
    EXPECT_EQ(machine.bed.prompts.MessageTexts(), row.messages);
    EXPECT_EQ(machine.server.asked, row.asked);
    EXPECT_EQ(machine.bed.Context().IsDialogLoaded(), row.loaded);
    EXPECT_FALSE(machine.bed.pointer.IsBusy());
  }
}

}  // namespace
}  // namespace penlark::testing

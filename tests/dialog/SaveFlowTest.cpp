#include "DialogSessionTest.h"

#include <functional>

namespace penlark::testing {
namespace {

constexpr std::string_view kDraftRtf = "{\\rtf1\\ansi Draft \\'e9t\\'e9\\par }";

void SaveAs(OpenDialog& dialog, const std::string& name) {
  dialog.FilenameText.Text = name;
  dialog.OpenButton_Click();
}

// A new name is saved without a question; the dialog comes back hidden on the root listing. An
// existing name is overwritten after the question.
TEST_F(DialogSessionTest, SavesANewNameAndOverwritesAfterAsking) {
  server.AddFolder("/docs");
  AddRtfDocument("/docs/report.rtf", "{\\rtf1 old report}");
  const auto draft = bed.OpenLocal("draft.rtf", kDraftRtf);
  OpenDialog* dialog = &LoggedInDialog();
  dialog->OpenButton.Caption = kSaveMode;
  DoubleClickItem("docs")(*dialog);
  server.ClearRequests();
  const int showings = bed.views.Showings();
  SaveAs(*dialog, "draft.rtf");
  EXPECT_TRUE(bed.prompts.Messages().empty());
  EXPECT_EQ(ReadFile(bed.WorkDir() + "docs/draft.rtf"), std::string(kDraftRtf));
  EXPECT_EQ(draft->Name(), "draft.rtf");
  EXPECT_EQ(draft->Path() + "/", bed.WorkDir() + "docs/");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u) << "the save, the automatic login, the listing";
  EXPECT_EQ(requests[0].request,
            "<saveFile dir=\"/docs\" name=\"draft.rtf\" type=\"2\" username=\"ann\" "
            "password=\"secret\" version=\"2.0\" />");
  EXPECT_EQ(requests[0].content, bed.XmlOf(kDraftRtf));
  EXPECT_EQ(server.Document("/docs/draft.rtf"), bed.XmlOf(kDraftRtf));
  EXPECT_EQ(requests[2].request,
            "<getFiles dir=\"/\" username=\"ann\" password=\"secret\" vid=\"2.0\" />");
  ASSERT_TRUE(bed.Context().IsDialogLoaded());
  EXPECT_NE(&bed.Dialog(), dialog);
  EXPECT_EQ(bed.Dialog().ImageCombo.Items, std::vector<std::string>{"/"});
  EXPECT_EQ(ItemTexts(bed.Dialog()), (std::vector<std::string>{"docs"}));
  EXPECT_EQ(bed.views.Showings(), showings) << "loaded, not shown";
  EXPECT_FALSE(bed.pointer.IsBusy());

  dialog = &bed.Dialog();
  dialog->OpenButton.Caption = kSaveMode;
  DoubleClickItem("docs")(*dialog);
  bed.prompts.AnswerNext(MessageAnswer::Yes);
  SaveAs(*dialog, "report.rtf");
  EXPECT_EQ(bed.prompts.MessageTexts(),
            std::vector<std::string>{"Overwrite report.rtf on Tarnwell server?"});
  EXPECT_EQ(server.Document("/docs/report.rtf"), bed.XmlOf(kDraftRtf));
  EXPECT_EQ(bed.Context().Server().CurrentFile, "report.rtf");
  EXPECT_EQ(bed.Context().Server().CurrentDir, "/docs");
}

// How a save ends: what was asked and sent, and whether a dialog is loaded afterwards.
TEST(SaveRules, WhatASaveLeaves) {
  const std::string overwrite = "Overwrite draft.rtf on Tarnwell server?";
  const struct {
    const char* name;
    std::function<void(FakeMachine&)> before;
    std::vector<std::string> messages;
    std::vector<std::string> asked;
    bool loaded;
  } rows[] = {
      {"a new name", {}, {}, {"saveFile /docs draft.rtf", "getFiles /", "getFiles /"}, true},
      {"no document", [](FakeMachine& m) { m.bed.word.ActiveDocument()->Close(); }, {}, {}, false},
      {"a fault",
       [](FakeMachine& m) { m.server.FailNext(FakeServer::Failure::Fault, "Disk full"); },
       {"Disk full"},
       {"saveFile /docs draft.rtf"},
       false},
      {"an existing name, answered No",
       [](FakeMachine& m) {
         m.server.Add("/docs", "draft.rtf");
         m.bed.Dialog().RedrawFiles("/docs");
       },
       {overwrite},
       {"getFiles /docs"},
       true},
      {"a listing that did not read, answered No",
       [](FakeMachine& m) {
         m.server.FailNext(FakeServer::Failure::Unread, "<error>busy</error>");
         m.bed.Dialog().RedrawFiles("/docs");
       },
       {overwrite},
       {"getFiles /docs"},
       true},
      {"no automatic login after the save",
       [](FakeMachine& m) { std::filesystem::remove_all(m.bed.InstallPath() / "history"); },
       {},
       {"saveFile /docs draft.rtf"},
       true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    FakeMachine machine;
    machine.bed.OpenLocal("draft.rtf", kDraftRtf);
    OpenDialog& dialog = machine.InDocs(kSaveMode);
    if (row.before) {
      row.before(machine);
    }
    if (!row.messages.empty() && row.messages[0] == overwrite) {
      machine.bed.prompts.AnswerNext(MessageAnswer::No);
    }
    SaveAs(dialog, "draft.rtf");
    EXPECT_EQ(machine.bed.prompts.MessageTexts(), row.messages);
    EXPECT_EQ(machine.server.asked, row.asked);
    EXPECT_EQ(machine.bed.Context().IsDialogLoaded(), row.loaded);
    EXPECT_FALSE(machine.bed.pointer.IsBusy());
  }
}

TEST_F(DialogRulesTest, TheDialogReloadedAfterASaveLogsInWithThePasswordKeptInMemory) {
  bed.OpenLocal("draft.rtf", kDraftRtf);
  Login("tarn", "ann", "secret", false)(bed.Dialog());
  OpenDialog& dialog = bed.Dialog();
  dialog.OpenButton.Caption = kSaveMode;
  DoubleClickItem("docs")(dialog);
  SaveAs(dialog, "draft.rtf");
  EXPECT_TRUE(bed.prompts.Messages().empty());
  OpenDialog& reloaded = bed.Dialog();
  EXPECT_EQ(reloaded.TabStrip.SelectedTab, 1);
  EXPECT_FALSE(reloaded.SavePwdCheck.Value);
  EXPECT_EQ(server.lastPassword, "secret");
  EXPECT_EQ(bed.Context().History().HistoryPassword(0), "") << "never written";
  EXPECT_TRUE(reloaded.IsDocOpen(bed.WorkDir() + "docs" + kPathSeparator + "draft.rtf"))
      << "saved, so open";
}

TEST_F(DialogRulesTest, AFailingSaveReachesTheCallerWithTheNormalPointer) {
  bed.OpenLocal("draft.rtf", kDraftRtf);
  OpenDialog& dialog = InDocs(kSaveMode);
  std::filesystem::remove_all(bed.InstallPath() / "work");
  EXPECT_THROW(SaveAs(dialog, "draft.rtf"), WordError);
  EXPECT_FALSE(bed.pointer.IsBusy());
  EXPECT_TRUE(server.asked.empty());
}

}  // namespace
}  // namespace penlark::testing

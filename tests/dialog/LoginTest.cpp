#include "protocol/ConnectionUtils.h"
#include "support/dialog/FakeServer.h"

namespace penlark::testing {
namespace {

const std::string kSeparator(kHistorySeparator);

// The refusals of a login are the server's; a listing that is empty or did not read fails it.
TEST(LoginRules, WhatALoginLeaves) {
  const std::string empty = "Values are empty!!!";
  const auto emptyRoot = [](FakeServer& server) { server.entries.clear(); };
  const auto unread = [](FakeServer& server) {
    server.FailNext(FakeServer::Failure::Unread, "<error>no</error>");
  };
  const struct {
    const char* name;
    std::string server, user;
    void (*before)(FakeServer&);
    std::vector<std::string> messages;
    bool sent;
    bool loggedIn;
  } rows[] = {
      {"trimmed fields", " \ttarn\r\n", "  ann ", nullptr, {}, true, true},
      {"empty user", "tarn", " \t ", nullptr, {empty}, false, false},
      {"empty server", "   ", "ann", nullptr, {empty}, false, false},
      {"empty root", "tarn", "ann", emptyRoot, {}, true, false},
      {"listing not read", "tarn", "ann", unread, {}, true, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    FakeMachine machine;
    if (row.before) {
      row.before(machine.server);
    }
    OpenDialog& dialog = machine.bed.Dialog();
    Login(row.server, row.user, "secret", true)(dialog);
    EXPECT_EQ(machine.bed.prompts.MessageTexts(), row.messages);
    for (const Message& message : machine.bed.prompts.Messages()) {
      EXPECT_EQ(message.title, "Penlark");
    }
    EXPECT_EQ(machine.server.asked.size(), row.sent ? 1u : 0u);
    EXPECT_EQ(dialog.TabStrip.SelectedTab, row.loggedIn ? 1 : 2);
    EXPECT_EQ(dialog.TabStrip.Enabled, row.loggedIn);
    EXPECT_EQ(dialog.OpenFileFrame.Visible, row.loggedIn);
    EXPECT_EQ(dialog.ConnectionFrame.Visible, !row.loggedIn);
    EXPECT_EQ(dialog.ConnectionText.Text, row.sent ? "tarn" : "");
    EXPECT_EQ(machine.bed.Context().History().Count(), row.loggedIn ? 1u : 0u);
    EXPECT_FALSE(machine.bed.pointer.IsBusy());
  }
}

// A new entry goes first; one used again moves to the front; user names count with case.
TEST_F(DialogRulesTest, TheServerComboFollowsTheHistory) {
  OpenDialog& dialog = bed.Dialog();
  const ConnectionHistory& history = bed.Context().History();
  Login("tarn", "ann", "secret", false)(dialog);
  Login("fen", "bob", "pw", true)(dialog);
  EXPECT_EQ(dialog.UrlDomainCombo.Items, (std::vector<std::string>{"fen", "tarn"}));
  EXPECT_EQ(history.HistoryPassword(1), "");
  Login("tarn", "ann", "secret", true)(dialog);
  EXPECT_EQ(dialog.UrlDomainCombo.Items,
            (std::vector<std::string>{"tarn" + kSeparator + "ann", "fen" + kSeparator + "bob"}));
  EXPECT_EQ(dialog.UrlDomainCombo.Text, "tarn");
  EXPECT_EQ(history.HistoryPassword(0), "secret");
  Login("tarn", "Ann", "secret", false)(dialog);
  EXPECT_EQ(dialog.UrlDomainCombo.Items.front(), "tarn");
  Login("tarn", "ann", "secret", false)(dialog);
  EXPECT_EQ(history.HistoryUser(0), "ann");
  EXPECT_EQ(history.HistoryPassword(0), "");
  EXPECT_TRUE(bed.prompts.Messages().empty());

  server.users = {{"in\tside", "pw"}};
  dialog.SelectTab(2);
  Login("tarn", "in\tside", "pw", true)(dialog);
  EXPECT_EQ(dialog.TabStrip.SelectedTab, 1);
  EXPECT_EQ(history.Count(), 3u);
  EXPECT_EQ(bed.prompts.MessageTexts(), std::vector{std::string(kUnstorableLoginMessage)});
}

TEST_F(DialogRulesTest, ChoosingAHistoryItemFillsTheFieldsAndLeavingTheFieldCutsItBack) {
  Login("fen", "bob", "pw", true)(bed.Dialog());
  Login("tarn", "guest", "", true)(bed.Dialog());
  bed.Dialog().Cancel_Click();
  OpenDialog& dialog = bed.Dialog();
  ComboBox& combo = dialog.UrlDomainCombo;
  for (const auto& [index, host, user, password] :
       {std::tuple{1, "fen", "bob", "pw"}, std::tuple{0, "tarn", "guest", ""}}) {
    combo.ListIndex = index;
    combo.Text = combo.Items.at(std::size_t(index));
    dialog.UrlDomainCombo_Click();
    dialog.UrlDomainCombo_LostFocus();
    EXPECT_EQ(std::tie(combo.Text, dialog.ConnectionText.Text, dialog.UsernameText.Text,
                       dialog.PasswordText.Text),
              std::tie(host, host, user, password));
    EXPECT_EQ(dialog.SavePwdCheck.Value, *password != '\0') << user;
  }
  // Before any connection the field keeps whatever it holds.
  for (const auto& [connection, kept] :
       {std::pair{"", "host" + kSeparator + "ann"}, std::pair{"host", std::string("host")}}) {
    dialog.ConnectionText.Text = connection;
    combo.Text = "host" + kSeparator + "ann";
    dialog.UrlDomainCombo_LostFocus();
    EXPECT_EQ(combo.Text, kept) << connection;
  }
}

TEST_F(DialogRulesTest, AutomaticLoginTakesThePasswordKeptInMemoryElseSendsAnEmptyOne) {
  Login("tarn", "ann", "secret", false)(bed.Dialog());
  bed.Dialog().Cancel_Click();
  OpenDialog& same = bed.Dialog();
  EXPECT_FALSE(same.SavePwdCheck.Value);
  EXPECT_EQ(same.TabStrip.SelectedTab, 1) << "this component's login is remembered";
  same.Cancel_Click();
  EXPECT_EQ(bed.Context().History().HistoryPassword(0), "");

  server.asked.clear();
  Component next(bed.ServicesWith(bed.word, bed.views));  // a component that knows no password
  OpenDialog& dialog = next.Context().Dialog();
  EXPECT_EQ(server.asked, std::vector<std::string>{"getFiles /"});
  EXPECT_EQ(server.lastPassword, "");
  EXPECT_EQ(dialog.FocusControl, &dialog.PasswordText);
}

}  // namespace
}  // namespace penlark::testing

#include "DialogSessionTest.h"
#include "dialog/OpenDialog.h"
#include "protocol/ConnectionUtils.h"

namespace penlark::testing {
namespace {

const std::string kSeparator(14, ' ');

class LoginTest : public DialogSessionTest {
 protected:
  LoginTest() {
    server.AddFolder("/docs");
    AddRtfDocument("/report.rtf", "{\\rtf1 report}");
  }

  // Logs in through the dialog and unloads it, so that the history is written.
  void LoginAndUnload(const std::string& user, const std::string& password, bool save) {
    OpenDialog& dialog = bed.Dialog();
    Login(server.ServerText(), user, password, save)(dialog);
    dialog.Cancel_Click();
  }
};

TEST_F(LoginTest, TrimsTheFieldsListsTheRootAndSwitchesToTheFileTab) {
  OpenDialog& dialog = bed.Dialog();
  dialog.UrlDomainCombo.Text = " \t" + server.ServerText() + "\r\n";
  dialog.UsernameText.Text = "  ann ";
  dialog.PasswordText.Text = "secret";
  dialog.LogInButton_Click();

  EXPECT_EQ(dialog.UrlDomainCombo.Text, server.ServerText());
  EXPECT_EQ(dialog.UsernameText.Text, "ann");
  EXPECT_EQ(dialog.ConnectionText.Text, server.ServerText());
  EXPECT_EQ(RequestsSeen(),
            std::vector<std::string>{"<getFiles dir=\"/\" username=\"ann\" password=\"secret\" "
                                     "vid=\"2.0\" />"});
  EXPECT_EQ(ListItemTexts(), (std::vector<std::string>{"docs", "report.rtf"}));
  EXPECT_EQ(dialog.TabStrip.SelectedTab, 1);
  EXPECT_TRUE(dialog.TabStrip.Enabled);
  EXPECT_TRUE(dialog.OpenFileFrame.Visible);
  EXPECT_FALSE(dialog.ConnectionFrame.Visible);
  EXPECT_TRUE(bed.prompts.Messages().empty());
}

TEST_F(LoginTest, EmptyServerOrUserNameIsRefusedWithoutARequest) {
  OpenDialog& dialog = bed.Dialog();
  Login(server.ServerText(), " \t ", "secret", false)(dialog);
  Login("   ", "ann", "secret", false)(dialog);
  EXPECT_EQ(bed.prompts.MessageTexts(),
            (std::vector<std::string>{"Values are empty!!!", "Values are empty!!!"}));
  EXPECT_EQ(bed.prompts.Messages()[0].title, "Penlark");
  EXPECT_TRUE(server.Requests().empty());
  EXPECT_EQ(dialog.TabStrip.SelectedTab, 2);
}

TEST_F(LoginTest, AnEmptyPasswordIsSent) {
  TestServer open(std::vector<TestServer::User>{{"guest", ""}});
  open.AddFolder("/public");
  OpenDialog& dialog = bed.Dialog();
  Login(open.ServerText(), "guest", "", false)(dialog);
  EXPECT_EQ(dialog.TabStrip.SelectedTab, 1);
  EXPECT_EQ(bed.Context().History().HistoryPassword(0), "");
}

TEST_F(LoginTest, AnEmptyRootOrAListingThatDidNotReadCountsAsFailureWithoutAMessage) {
  TestServer empty;
  OpenDialog& dialog = bed.Dialog();
  Login(empty.ServerText(), "ann", "secret", true)(dialog);
  for (const std::string reply : {"<error>Login failed</error>", "not XML"}) {
    server.ReplyWithText(reply);
    LoginAsAnn(true)(dialog);
    EXPECT_TRUE(dialog.ListView.Items.empty()) << reply;
  }
  EXPECT_EQ(dialog.TabStrip.SelectedTab, 2);
  EXPECT_FALSE(dialog.TabStrip.Enabled);
  EXPECT_EQ(bed.Context().History().Count(), 0u);
  EXPECT_TRUE(bed.prompts.Messages().empty());
}

TEST_F(LoginTest, AWrongPasswordShowsTheServersFaultAndStaysOnTheConnectionTab) {
  OpenDialog& dialog = bed.Dialog();
  Login(server.ServerText(), "ann", "wrong", false)(dialog);
  ASSERT_EQ(bed.prompts.Messages().size(), 1u);
  EXPECT_EQ(dialog.TabStrip.SelectedTab, 2);
  EXPECT_EQ(bed.Context().History().Count(), 0u);
  EXPECT_FALSE(bed.pointer.IsBusy());
}

TEST_F(LoginTest, AnUnreachableServerShowsTheConnectionFailure) {
  const std::string text = server.ServerText();
  server.Stop();
  OpenDialog& dialog = bed.Dialog();
  Login(text, "ann", "secret", false)(dialog);
  ASSERT_EQ(bed.prompts.Messages().size(), 1u);
  EXPECT_EQ(bed.prompts.Messages()[0].text,
            "Error: Connection to Tarnwell Server failed. The Server could be down. Try Later...");
  EXPECT_EQ(dialog.TabStrip.SelectedTab, 2);
}

TEST_F(LoginTest, ReturningToTheConnectionTabResetsTheTrailAndLocksTheTabs) {
  OpenDialog& dialog = LoggedInDialog();
  dialog.ImageCombo.Items = {"/", "/docs"};
  dialog.ImageCombo.Select(1);
  dialog.SelectTab(2);
  EXPECT_EQ(dialog.ImageCombo.Items, std::vector<std::string>{"/"});
  EXPECT_EQ(dialog.ImageCombo.SelectedIndex, 0);
  EXPECT_FALSE(dialog.TabStrip.Enabled);
  EXPECT_TRUE(dialog.ConnectionFrame.Visible);
  EXPECT_FALSE(dialog.OpenFileFrame.Visible);
}

TEST_F(LoginTest, RedrawTabStripFalseChangesNothing) {
  OpenDialog& dialog = bed.Dialog();
  dialog.RedrawTabStrip(false);
  EXPECT_EQ(dialog.TabStrip.SelectedTab, 2);
  EXPECT_FALSE(dialog.TabStrip.Enabled);
}

// A login to a server not in the history puts the bare server first, as the history does.
TEST_F(LoginTest, ALoginToANewServerPutsItFirstAsABareServerItem) {
  TestServer second(std::vector<TestServer::User>{{"bob", "pw"}});
  second.AddFolder("/y");
  OpenDialog& dialog = bed.Dialog();
  LoginAsAnn(false)(dialog);
  EXPECT_EQ(dialog.UrlDomainCombo.Items, std::vector<std::string>{server.ServerText()});
  Login(second.ServerText(), "bob", "pw", false)(dialog);
  EXPECT_EQ(dialog.UrlDomainCombo.Items,
            (std::vector<std::string>{second.ServerText(), server.ServerText()}));
  const ConnectionHistory& history = bed.Context().History();
  ASSERT_EQ(history.Count(), 2u);
  EXPECT_EQ(history.HistoryServer(0), second.ServerText());
  EXPECT_EQ(history.HistoryUser(1), "ann");
  EXPECT_EQ(history.HistoryPassword(1), "") << "Save Password was not ticked";
}

TEST_F(LoginTest, TheHistoryIsWrittenAtUnloadAndFillsTheNextDialog) {
  LoginAndUnload("ann", "secret", true);
  ASSERT_TRUE(std::filesystem::exists(bed.HistoryFile()));

  server.ClearRequests();
  OpenDialog& dialog = bed.Dialog();
  EXPECT_EQ(dialog.UrlDomainCombo.Items,
            std::vector<std::string>{server.ServerText() + kSeparator + "ann"});
  EXPECT_EQ(dialog.UrlDomainCombo.Text, server.ServerText());
  EXPECT_EQ(dialog.ConnectionText.Text, server.ServerText());
  EXPECT_EQ(dialog.UsernameText.Text, "ann");
  EXPECT_EQ(dialog.PasswordText.Text, "secret");
  EXPECT_TRUE(dialog.SavePwdCheck.Value);
  // The automatic login listed the root and opened the file tab.
  EXPECT_EQ(RequestsSeen().size(), 1u);
  EXPECT_EQ(dialog.TabStrip.SelectedTab, 1);
  EXPECT_EQ(ListItemTexts(), (std::vector<std::string>{"docs", "report.rtf"}));
}

TEST_F(LoginTest, AutomaticLoginTakesThePasswordKeptInMemoryElseSendsAnEmptyOne) {
  LoginAndUnload("ann", "secret", false);
  OpenDialog& same = bed.Dialog();
  EXPECT_FALSE(same.SavePwdCheck.Value);
  EXPECT_EQ(same.TabStrip.SelectedTab, 1) << "this component's login is remembered";
  same.Cancel_Click();
  EXPECT_EQ(bed.Context().History().HistoryPassword(0), "");

  server.ClearRequests();
  Component next(bed.ServicesWith(bed.word));  // a component that knows no password
  OpenDialog& dialog = next.Context().Dialog();
  EXPECT_EQ(RequestsSeen(),
            std::vector<std::string>{
                "<getFiles dir=\"/\" username=\"ann\" password=\"\" vid=\"2.0\" />"});
  EXPECT_EQ(dialog.TabStrip.SelectedTab, 2) << "the server refused the empty password";
  EXPECT_EQ(dialog.UrlDomainCombo.Text, server.ServerText());
  EXPECT_EQ(dialog.UsernameText.Text, "ann");
  EXPECT_EQ(dialog.FocusControl, &dialog.PasswordText);
}

TEST_F(LoginTest, ALoginTheHistoryCannotHoldIsNotRecordedAndSaysSo) {
  const std::vector<TestServer::User> users = {
      {"tab", "a\tb"}, {"cr", "a\rb"}, {"lf", "a\nb"}, {"in\tside", "pw"}};
  TestServer odd(users);
  odd.AddFolder("/x");
  OpenDialog& dialog = bed.Dialog();
  for (const auto& [user, password] : users) {
    dialog.SelectTab(2);
    Login(odd.ServerText(), user, password, true)(dialog);
    EXPECT_EQ(dialog.TabStrip.SelectedTab, 1) << user;
  }
  EXPECT_EQ(bed.Context().History().Count(), 0u);
  EXPECT_EQ(bed.prompts.MessageTexts(),
            std::vector<std::string>(users.size(), std::string(kUnstorableLoginMessage)));
}

TEST_F(LoginTest, TickingSavePasswordStoresItAndUntickingErasesIt) {
  OpenDialog& dialog = bed.Dialog();
  LoginAsAnn(false)(dialog);
  LoginAsAnn(true)(dialog);
  EXPECT_EQ(bed.Context().History().HistoryPassword(0), "secret");
  LoginAsAnn(false)(dialog);
  EXPECT_EQ(bed.Context().History().HistoryPassword(0), "");
  EXPECT_EQ(bed.Context().History().Count(), 1u);
}

TEST_F(LoginTest, UserNamesAreComparedWithCase) {
  TestServer both({{"ann", "secret"}, {"Ann", "secret"}});
  both.AddFolder("/x");
  OpenDialog& dialog = bed.Dialog();
  Login(both.ServerText(), "ann", "secret", false)(dialog);
  Login(both.ServerText(), "Ann", "secret", false)(dialog);
  EXPECT_EQ(bed.Context().History().Count(), 2u);
  EXPECT_EQ(dialog.UrlDomainCombo.Items.size(), 2u);
}

TEST_F(LoginTest, LoggingInToAnOlderEntryMovesItToTheFrontAndRebuildsTheList) {
  TestServer second(std::vector<TestServer::User>{{"bob", "pw"}});
  second.AddFolder("/y");
  OpenDialog& dialog = bed.Dialog();
  LoginAsAnn()(dialog);
  Login(second.ServerText(), "bob", "pw", false)(dialog);
  LoginAsAnn()(dialog);
  EXPECT_EQ(dialog.UrlDomainCombo.Items,
            (std::vector<std::string>{server.ServerText() + kSeparator + "ann",
                                      second.ServerText() + kSeparator + "bob"}));
  EXPECT_EQ(dialog.UrlDomainCombo.Text, server.ServerText());
}

TEST_F(LoginTest, ChoosingAHistoryItemFillsTheFieldsAndLeavesTheBareServerName) {
  LoginAndUnload("ann", "secret", true);
  server.Stop();  // the automatic login fails; the fields stay filled
  OpenDialog& dialog = bed.Dialog();
  dialog.UsernameText.Text = "someone";
  dialog.PasswordText.Text = "";
  dialog.SavePwdCheck.Value = false;
  ChooseServer(0)(dialog);
  EXPECT_EQ(dialog.UsernameText.Text, "ann");
  EXPECT_EQ(dialog.PasswordText.Text, "secret");
  EXPECT_TRUE(dialog.SavePwdCheck.Value);
  EXPECT_EQ(dialog.UrlDomainCombo.Text, dialog.ConnectionText.Text);
  EXPECT_EQ(dialog.UrlDomainCombo.Text.find(kSeparator), std::string::npos);
}

TEST_F(LoginTest, LeavingTheServerFieldCutsAHistoryItemBackToTheServer) {
  OpenDialog& dialog = bed.Dialog();
  dialog.ConnectionText.Text = "host";
  dialog.UrlDomainCombo.Text = "host" + kSeparator + "ann";
  dialog.UrlDomainCombo_LostFocus();
  EXPECT_EQ(dialog.UrlDomainCombo.Text, "host");
}

TEST_F(LoginTest, LeavingTheServerFieldBeforeAnyConnectionKeepsItsText) {
  OpenDialog& dialog = bed.Dialog();
  dialog.UrlDomainCombo.Text = "host" + kSeparator + "ann";
  dialog.UrlDomainCombo_LostFocus();
  EXPECT_EQ(dialog.UrlDomainCombo.Text, "host" + kSeparator + "ann");
}

TEST_F(LoginTest, AForeignHistoryFileIsRefusedAsCorrupt) {
  LoginAndUnload("ann", "secret", true);
  const auto history = ReadFile(bed.HistoryFile());
  ASSERT_TRUE(history.has_value());
  std::string foreign = *history;
  foreign[0] = static_cast<char>(foreign[0] + 1);  // another user name in the header
  WriteFile(bed.HistoryFile(), foreign);
  OpenDialog& dialog = bed.Dialog();
  EXPECT_EQ(bed.prompts.MessageTexts(), std::vector<std::string>{"Corrupt history file!!"});
  EXPECT_EQ(dialog.TabStrip.SelectedTab, 2);
}

}  // namespace
}  // namespace penlark::testing

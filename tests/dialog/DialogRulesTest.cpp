#include "automation/Tarnwell.h"
#include "dialog/script/ScriptedUser.h"
#include "protocol/ConnectionUtils.h"
#include "support/dialog/FakeServer.h"

#include <functional>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <tuple>

#include <gmock/gmock.h>

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

// Delete is enabled with two entries or more, and by the next move over a non-empty list.
TEST_F(DialogRulesTest, AListingShowsItsEntries) {
  server.Add("/one", "odd", 7);
  server.Add("/two", "folder", kFolderType);
  server.Add("/two", "document");
  OpenDialog& dialog = LoggedIn();
  const auto [normal, disabled] = std::pair(kDeletePictures.Normal, kDeletePictures.Disabled);
  const struct {
    const char* dir;
    std::vector<ListItem> items;
    int selected;
    std::pair<int, bool> deleteListed, deleteMoved;
  } rows[] = {
      {"/one", {{"odd", kDocumentIcon, kDocumentIcon}}, -1, {disabled, false}, {normal, true}},
      {"/two",
       {{"folder", kFolderIcon, kFolderIcon}, {"document", kDocumentIcon, kDocumentIcon}},
       0,
       {normal, true},
       {normal, true}},
      {"/empty", {}, -1, {normal, true}, {disabled, false}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.dir);
    dialog.FilenameText.Text = "typed";
    EXPECT_EQ(dialog.RedrawFiles(row.dir), !row.items.empty());
    EXPECT_EQ(dialog.ListView.Items, row.items);
    EXPECT_EQ(dialog.ListView.SelectedIndex, row.selected);
    EXPECT_EQ(dialog.FilenameText.Text, "");
    EXPECT_FALSE(bed.pointer.IsBusy());
    EXPECT_EQ(std::pair(dialog.DeleteImage.Picture, dialog.DeleteImage.Enabled), row.deleteListed);
    dialog.OpenFileFrame_MouseMove(0, 0, 0, 0);
    EXPECT_EQ(std::pair(dialog.DeleteImage.Picture, dialog.DeleteImage.Enabled), row.deleteMoved);
  }
}

// Entered by a double-click or a typed name, left through the trail or Up One Level.
TEST_F(DialogRulesTest, TheTrailFollowsTheFoldersEnteredAndLeft) {
  OpenDialog& dialog = LoggedIn();
  dialog.ListView_ItemClick(2);
  EXPECT_EQ(dialog.FilenameText.Text, "report.rtf");
  dialog.OpenButton.Caption = kSaveMode;
  dialog.FilenameText.Text = "  docs ";
  dialog.OpenButton_Click();
  EXPECT_EQ(dialog.ImageCombo.Items, (std::vector<std::string>{"/", "/docs"}));
  EXPECT_EQ(std::pair(dialog.UpOneLevelImage.Picture, dialog.UpOneLevelImage.Enabled),
            std::pair(kUpOneLevelPictures.Normal, true));
  DoubleClickItem("2004")(dialog);
  EXPECT_EQ(dialog.ImageCombo.Items, (std::vector<std::string>{"/", "/docs", "/docs/2004"}));
  EXPECT_EQ(dialog.ImageCombo.SelectedIndex, 2);
  EXPECT_EQ(server.asked,
            (std::vector<std::string>{"getFiles /", "getFiles /docs", "getFiles /docs/2004"}));
  EXPECT_EQ(ItemTexts(dialog), (std::vector<std::string>{"april.rtf", "march.rtf"}));
  EXPECT_EQ(dialog.FilenameText.Text, "") << "the folder's name does not stay in the box";

  server.asked.clear();
  dialog.ListView.SelectedIndex = -1;
  for (const int index : {2, 0}) {
    dialog.ImageCombo.Select(index);
    dialog.ImageCombo_Click();
    EXPECT_EQ(dialog.ListView.SelectedIndex, 0);
  }
  EXPECT_EQ(dialog.ImageCombo.Items, std::vector<std::string>{"/"});
  EXPECT_EQ(server.asked, std::vector<std::string>{"getFiles /"}) << "only the root again";

  dialog.OpenButton.Caption = kOpenMode;
  DoubleClickItem("docs")(dialog);
  DoubleClickItem("2004")(dialog);
  kUpOneLevelButton.Click(dialog);
  EXPECT_EQ(dialog.ImageCombo.Items, (std::vector<std::string>{"/", "/docs"}));
  EXPECT_EQ(ItemTexts(dialog), (std::vector<std::string>{"2004", "notes.rtf", "report.rtf"}));
  EXPECT_TRUE(dialog.UpOneLevelImage.Enabled);
  for (int click = 0; click < 2; ++click) {
    kUpOneLevelButton.Click(dialog);
    EXPECT_EQ(dialog.ImageCombo.Items, std::vector<std::string>{"/"});
  }
  EXPECT_EQ(std::pair(dialog.UpOneLevelImage.Picture, dialog.UpOneLevelImage.Enabled),
            std::pair(kUpOneLevelPictures.Disabled, false));
  EXPECT_EQ(dialog.PressedButton, 0);
}

// The buttons that act on a folder rest disabled while the trail has no selection.
TEST_F(DialogRulesTest, AFolderWhoseListingFailsIsStillAppendedToTheEmptiedTrail) {
  OpenDialog& dialog = LoggedIn();
  server.FailNext(FakeServer::Failure::Internal, "ERROR 13: Type mismatch");
  DoubleClickItem("docs")(dialog);
  EXPECT_EQ(dialog.ImageCombo.Items, std::vector<std::string>{"/docs"});
  EXPECT_FALSE(dialog.ImageCombo.HasSelection());
  EXPECT_EQ(bed.prompts.MessageTexts(), std::vector<std::string>{"ERROR 13: Type mismatch"});
  dialog.ReloadImage.Picture = kReloadPictures.Hover;
  dialog.ListView_MouseMove(0, 0, 10, 10);
  EXPECT_EQ(dialog.ReloadImage.Picture, kReloadPictures.Normal);
  EXPECT_EQ(std::pair(dialog.UpOneLevelImage.Picture, dialog.UpOneLevelImage.Enabled),
            std::pair(kUpOneLevelPictures.Disabled, false));
  EXPECT_EQ(std::pair(dialog.CreateFolderImage.Picture, dialog.CreateFolderImage.Enabled),
            std::pair(kCreateFolderPictures.Disabled, false));
}

// Released a twip past one of its edges, a button does nothing and comes back to rest.
TEST_F(DialogRulesTest, EveryButtonHasItsOwnPicturesAndCode) {
  const std::pair<double, double> offButton[] = {{-1, 100}, {361, 100}, {100, -1}, {100, 361}};
  OpenDialog& dialog = InDocs();
  for (const FolderButton& row : kFolderButtons) {
    const ImageButton& button = dialog.*row.control;
    SCOPED_TRACE(button.ToolTipText);
    dialog.PressedButton = row.code == 1 ? 4 : 1;
    std::invoke(row.move, dialog, 0, 0, 10, 10);
    EXPECT_EQ(button.Picture, row.pictures.Hover);
    dialog.PressedButton = 0;
    std::invoke(row.down, dialog, kRightButton, 0, 0, 0);
    EXPECT_EQ(std::pair(button.Picture, dialog.PressedButton),
              std::pair(row.pictures.Pressed, row.code));
    std::invoke(row.move, dialog, kLeftButton, 0, 400, 100);
    EXPECT_EQ(std::pair(button.Picture, dialog.PressedButton),
              std::pair(row.pictures.Normal, row.code));
    std::invoke(row.move, dialog, kLeftButton, 0, 360, 360);
    EXPECT_EQ(button.Picture, row.pictures.Pressed);
    const auto [x, y] = offButton[row.code - 1];
    std::invoke(row.up, dialog, kLeftButton, 0, x, y);
    EXPECT_TRUE(server.asked.empty());
    EXPECT_TRUE(bed.prompts.Messages().empty());
    EXPECT_TRUE(bed.prompts.Inputs().empty());
    EXPECT_EQ(std::pair(button.Picture, dialog.PressedButton),
              std::pair(row.pictures.Normal, std::int16_t{0}));
    EXPECT_EQ(dialog.ImageCombo.Items, (std::vector<std::string>{"/", "/docs"}));
  }
}

// Only the left button drops the menu down, below the button; no choice leaves it pressed.
TEST_F(DialogRulesTest, TheViewsButtonDropsTheViewMenuDownWithTheLeftButtonOnly) {
  OpenDialog& dialog = InDocs();
  dialog.ReloadImage.Picture = kReloadPictures.Hover;
  dialog.PropsImage_MouseMove(0, 0, 9999, 9999);
  EXPECT_EQ(dialog.ReloadImage.Picture, kReloadPictures.Normal);
  EXPECT_EQ(dialog.PropsImage.Picture, kViewsPictures.Hover);
  dialog.PropsImage_MouseDown(kRightButton, 0, 10, 10);
  EXPECT_TRUE(bed.views.menuPositions.empty());
  dialog.PropsImage_MouseDown(kLeftButton, 0, 10, 10);
  EXPECT_EQ(dialog.PropsImage.Picture, kViewsPictures.Pressed) << "closed without a choice";
  bed.views.menuChoices.push_back(&OpenDialog::menuReport_Click);
  dialog.PropsImage_MouseDown(kLeftButton, 0, 10, 10);
  EXPECT_EQ(bed.views.menuPositions, (std::vector<std::pair<int, int>>(2, {6600, 1020})));
  EXPECT_EQ(dialog.ListView.View, ListViewMode::Report);
  EXPECT_EQ((std::vector<bool>{dialog.menuIcons.Checked, dialog.menuSmallIcons.Checked,
                               dialog.menuList.Checked, dialog.menuReport.Checked}),
            (std::vector<bool>{false, false, false, true}));
  EXPECT_FALSE(dialog.menuPopup.Visible);
  EXPECT_EQ(dialog.PropsImage.Picture, kViewsPictures.Normal);
}

// A folder and a document of the same name are told apart by their type from the listing.
TEST_F(DialogRulesTest, DeleteAsksAndSendsTheSelectedEntryWithItsType) {
  server.Add("/docs", "twin", kFolderType);
  server.Add("/docs", "twin", kDocumentType);
  OpenDialog& dialog = InDocs();
  dialog.ListView.SelectedIndex = 2;
  bed.prompts.AnswerNext(MessageAnswer::No);
  kDeleteButton.Click(dialog);
  EXPECT_EQ(bed.prompts.Messages(),
            (std::vector<Message>{{.text = "Delete report.rtf from Tarnwell server?",
                                   .buttons = MessageButtons::YesNo}}));
  for (const auto& [index, sent] :
       {std::pair{4, "delete /docs twin 2"}, std::pair{3, "delete /docs twin 1"}}) {
    dialog.ListView.SelectedIndex = index;
    bed.prompts.AnswerNext(MessageAnswer::Yes);
    kDeleteButton.Click(dialog);
    EXPECT_EQ(server.asked, (std::vector<std::string>{sent, "getFiles /docs"}));
    server.asked.clear();
  }
  EXPECT_EQ(ItemTexts(dialog), (std::vector<std::string>{"2004", "notes.rtf", "report.rtf"}));

  bed.prompts.AnswerNext(MessageAnswer::Yes);
  server.FailNext(FakeServer::Failure::Fault, "Access denied");
  kDeleteButton.Click(dialog);
  EXPECT_EQ(std::pair(dialog.DeleteImage.Picture, dialog.PressedButton),
            std::pair(kDeletePictures.Pressed, std::int16_t{0}));
  EXPECT_EQ(server.asked.size(), 1u) << "not listed again";
  dialog.ListView.SelectedIndex = -1;
  kDeleteButton.Click(dialog);
  EXPECT_EQ(bed.prompts.MessageTexts().size(), 5u);
  EXPECT_EQ(server.asked.size(), 1u);
  EXPECT_EQ(dialog.DeleteImage.Picture, kDeletePictures.Normal);
}

TEST_F(DialogRulesTest, ASaveTheWordProcessorCannotWriteReachesTheCaller) {
  bed.OpenLocal("draft.rtf", "{\\rtf1 Draft}");
  OpenDialog& dialog = InDocs(kSaveMode);
  std::filesystem::remove_all(bed.InstallPath() / "work");
  WriteFile(bed.InstallPath() / "work", "a file where the work folder belongs");
  dialog.FilenameText.Text = "draft.rtf";
  EXPECT_THROW(dialog.OpenButton_Click(), WordError);
}

TEST(FolderOperationRules, CreateFolderAsksUntilTheNameIsFreeAndPlain) {
  const std::string taken = "Folders already exists!";
  std::vector<std::string> unusable = {"a/b",      "a\\b",    "..",   "tab\there",
                                       "CON",      "nul.txt", "Com1", "lpt9.tar.gz",
                                       "aux .rtf", "end.",    "a\"b"};
  std::vector<std::string> refusals;
  for (const std::string& name : unusable) {
    refusals.push_back("The name " + name + " cannot be used for a folder.");
  }
  unusable.push_back("COM10.console");
  const struct {
    const char* name;
    std::vector<std::string> typed;
    std::vector<std::string> messages;
    std::string sent;
  } rows[] = {
      {"only blanks", {"    "}, {}, ""},
      {"taken, then cancelled", {"report.rtf", ""}, {taken}, ""},
      {"differs in case", {"Notes.rtf"}, {}, "createFolder /docs Notes.rtf 1"},
      {"unusable, then one every system can hold", unusable, refusals,
       "createFolder /docs COM10.console 1"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    FakeMachine machine;
    OpenDialog& dialog = machine.InDocs();
    for (const std::string& typed : row.typed) {
      machine.bed.prompts.TypeNext(typed);
    }
    kCreateFolderButton.Click(dialog);
    EXPECT_TRUE(machine.bed.prompts.ScriptDone());
    EXPECT_EQ(machine.bed.prompts.MessageTexts(), row.messages);
    for (const Message& message : machine.bed.prompts.Messages()) {
      EXPECT_EQ(message.icon, MessageIcon::Exclamation);
      EXPECT_EQ(message.title, message.text == taken ? "Penlark" : "Penlark Files");
    }
    const std::vector<std::string> sent{row.sent, "getFiles /docs"};
    EXPECT_EQ(machine.server.asked, row.sent.empty() ? std::vector<std::string>{} : sent);
    EXPECT_EQ(std::pair(dialog.CreateFolderImage.Picture, dialog.PressedButton),
              std::pair(kCreateFolderPictures.Normal, std::int16_t{0}));
  }
}

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

#include "platform/CodePage.h"
#include "protocol/ConnectionUtils.h"
#include "protocol/Encryption.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace penlark {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using testing::ReadFile;
using testing::WriteFile;
using ComboChange = ConnectionHistory::ComboChange;

const std::string kHeader = HistoryHeader("ann", "DESK7");

// A history file holding `plain` as SaveHistory would write it (or under another cipher).
std::string HistoryFileBytes(std::string_view plain,
                             std::string_view cipherPassword = kHistoryCipherPassword) {
  return codepage::Utf8ToAnsi(Encryption::EncryptText(plain, cipherPassword)) + "\r\n";
}

// The entries, most recent first, as "server/user/password" separated by blanks.
std::string Entries(const ConnectionHistory& history) {
  std::string entries;
  for (std::size_t i = 0; i < history.Count(); ++i) {
    entries += (i == 0 ? "" : " ") + history.HistoryServer(i) + "/" + history.HistoryUser(i) + "/" +
               history.HistoryPassword(i);
  }
  return entries;
}

class ConnectionHistoryTest : public ::testing::Test {
 protected:
  testing::TempDir dir;
  testing::ScriptedPrompts prompts;
  ConnectionHistory history;
  const fs::path file = dir / "history.ann";
};

TEST_F(ConnectionHistoryTest, SavesTheExampleFileByteForByteAndLoadsItBack) {
  history.UpdateHistory("beta", "ann", "Pa55word");
  history.UpdateHistory("alpha", "ann", "");
  history.SaveHistory(file, kHeader);
  // "ann.DESK7", CR LF, "alpha", TAB, "ann", TAB, CR LF, "beta", TAB, "ann", TAB, "Pa55word",
  // CR LF (42 characters) encrypted under GLIMMER42, then CR LF.
  EXPECT_EQ(ReadFile(file),
            "\xad\xb7\xbb\x7b\x89\x97\x87\x7d\x7e\x59\x53\xae\xb9\xb5\xba\x95\x3b\xa8\xba\xb7\x56"
            "\x5a\x4f\xb4\x99\xa6\xa8\x55\xaa\xbb\xbb\x4e\xa2\x95\x67\x7c\xc3\xb8\xbf\xb1\x52\x5c"
            "\r\n");
#ifndef _WIN32  // Windows keeps no permission bits
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
#endif
  ConnectionHistory loaded;
  ASSERT_TRUE(loaded.LoadHistory(file, kHeader, prompts));
  EXPECT_EQ(Entries(loaded), "alpha/ann/ beta/ann/Pa55word");
  EXPECT_THAT(loaded.ComboItems(), ElementsAre("alpha              ann", "beta              ann"));
  EXPECT_EQ(loaded.HistoryServer(2) + loaded.HistoryUser(2) + loaded.HistoryPassword(2), "");
}

// A load replaces the entries held, which stay when the file holds none or is not this user's.
TEST_F(ConnectionHistoryTest, LoadsTheEntriesUpToTheFirstBrokenLine) {
  const std::string foreign = HistoryHeader("\u0410\u043D\u043D\u0430", "\u041F\u041A7");
  const struct {
    std::string fileBytes, entries;  // "kept/ann/" when the load fails
    bool corrupt = false;
    std::string header = kHeader;
  } cases[] = {
      {HistoryFileBytes("ann.DESK7\r\na\tu\r\nb\tv\tpw\tmore\textra\r\n"), "a/u/ b/v/pw"},
      {HistoryFileBytes("ann.DESK7\r\na\tann\t\r\nbroken\r\nb\tann\tpw\r\n"), "a/ann/"},
      {HistoryFileBytes("ann.DESK7\r\na\tann\t\r\nb\tann\tpw"), "a/ann/"},
      {"", "kept/ann/"},
      {HistoryFileBytes("ann.DESK7\r\n"), "kept/ann/"},
      {HistoryFileBytes("ann.DESK7\r\nb\tann\tpw\r\n", "other"), "kept/ann/"},
      {HistoryFileBytes("bob.DESK7\r\nb\tbob\tpw\r\n"), "kept/ann/", true},
      {HistoryFileBytes("????.??7\r\ns\tu\t\r\n"), "s/u/", false, foreign},
      {HistoryFileBytes("????.??7\r\ns\tu\t\r\n"), "kept/ann/", true,
       HistoryHeader("\u0410\u043D\u043D\u0430", "PK7")},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.fileBytes);
    testing::ScriptedPrompts rowPrompts;
    ConnectionHistory held;
    held.UpdateHistory("kept", "ann", "");
    WriteFile(file, row.fileBytes);
    EXPECT_EQ(held.LoadHistory(file, row.header, rowPrompts), row.entries != "kept/ann/");
    EXPECT_EQ(Entries(held), row.entries);
    EXPECT_EQ(rowPrompts.MessageTexts().size(), row.corrupt ? 1u : 0u);
  }
  history.UpdateHistory("kept", "ann", "");
  EXPECT_FALSE(history.LoadHistory(dir / "missing", kHeader, prompts));
  history.SaveHistory(file, foreign);
  EXPECT_EQ(ReadFile(file), HistoryFileBytes("????.??7\r\nkept\tann\t\r\n"));
}

// A file that cannot be read is reported once, and saved over only once it reads again.
TEST_F(ConnectionHistoryTest, SavesOverThePreviousFileOrNotAtAll) {
  history.SaveHistory(file, kHeader);
  EXPECT_FALSE(fs::exists(file));
  WriteFile(file, "previous contents that are longer than the new ones, much longer");
  history.UpdateHistory("s", "u", "");
  history.SaveHistory(file, kHeader);
  EXPECT_EQ(ReadFile(file), HistoryFileBytes("ann.DESK7\r\ns\tu\t\r\n"));
  const fs::path folder = dir / "folder";  // reading fails, and the rename cannot replace it
  fs::create_directory(folder);
  WriteFile(folder / "inside", "kept");
  EXPECT_FALSE(history.LoadHistory(folder, kHeader, prompts));
  EXPECT_FALSE(history.LoadHistory(folder, kHeader, prompts));
  history.SaveHistory(folder, kHeader);
  EXPECT_EQ(ReadFile(folder / "inside"), "kept");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 2);
  EXPECT_THAT(prompts.Messages(),
              ElementsAre(Message{.text = "The history file " + folder.string() +
                                          " cannot be read; it is left as it is.",
                                  .icon = MessageIcon::Exclamation}));
  fs::remove_all(folder);
  WriteFile(folder, "");
  EXPECT_FALSE(history.LoadHistory(folder, kHeader, prompts));
  history.SaveHistory(folder, kHeader);
  EXPECT_EQ(ReadFile(folder), ReadFile(file));
}

TEST_F(ConnectionHistoryTest, EachLoginComesFirst) {
  const struct {
    std::string server, user, password;
    ComboChange change;
    std::string entries;
  } logins[] = {
      {"s", "u", "", ComboChange::InsertServerAtFront, "s/u/"},
      {"t", "u", "pw", ComboChange::InsertServerAtFront, "t/u/pw s/u/"},
      {"t", "u", "", ComboChange::None, "t/u/ s/u/"},
      {"c", "u", "", ComboChange::InsertServerAtFront, "c/u/ t/u/ s/u/"},
      {"s", "u", "new", ComboChange::Rebuild, "s/u/new c/u/ t/u/"},
      {"s", "U", "", ComboChange::InsertServerAtFront, "s/U/ s/u/new c/u/ t/u/"},
      {"s ", "U", "", ComboChange::InsertServerAtFront, "s /U/ s/U/ s/u/new c/u/ t/u/"},
      {"c\tx", "u", "", ComboChange::NotRecorded, "s /U/ s/U/ s/u/new c/u/ t/u/"},
      {"c", "u", "p\r\n", ComboChange::NotRecorded, "s /U/ s/U/ s/u/new c/u/ t/u/"},
  };
  for (const auto& login : logins) {
    SCOPED_TRACE(login.server + "/" + login.user + "/" + login.password);
    EXPECT_EQ(history.UpdateHistory(login.server, login.user, login.password), login.change);
    EXPECT_EQ(Entries(history), login.entries);
  }
  history.MoveHistoryToFront(3);
  history.MoveHistoryToFront(5);  // no such entry
  EXPECT_EQ(Entries(history), "c/u/ s /U/ s/U/ s/u/new t/u/");
}

std::string Bytes(std::initializer_list<unsigned char> bytes) {
  return codepage::AnsiToUtf8(std::string(bytes.begin(), bytes.end()));
}

TEST(Encryption, ShiftsEachCodeByThePasswordsCharactersInTurn) {
  const struct {
    std::string text, password, secret;
    const char* rule;
  } cases[] = {
      {"plain \u4E2D", "", "plain \u4E2D", "an empty password leaves the text as it is"},
      {"", "key", "", "an empty text stays empty"},
      {"ABC", "a", Bytes({130, 131, 132}), "one character, upper-cased (65), shifts every code"},
      {"x", "\u00E9\u00E9", Bytes({0x41}), "letters beyond ASCII are upper-cased too (0xC9)"},
      {std::string(6, '\0'), "xyz", Bytes({89, 90, 88, 89, 90, 88}),
       "the first character takes the password's second"},
      {Bytes({250}), "\n", Bytes({4}), "sums wrap around eight bits"},
      {Bytes({249}), "\n", Bytes({3}), "differences wrap around eight bits"},
  };
  for (const auto& row : cases) {
    EXPECT_EQ(Encryption::EncryptText(row.text, row.password), row.secret) << row.rule;
    EXPECT_EQ(Encryption::DecryptText(row.secret, row.password), row.text) << row.rule;
  }
}

}  // namespace
}  // namespace penlark

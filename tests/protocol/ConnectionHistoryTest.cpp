#include "platform/CodePage.h"
#include "protocol/ConnectionUtils.h"
#include "protocol/Encryption.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace penlark {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ComboChange = ConnectionHistory::ComboChange;

const std::string kHeader = HistoryHeader("ann", "DESK7");

std::string Hex(std::string_view hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
  }
  return bytes;
}

// A history file holding `plain` as SaveHistory would write it.
std::string HistoryFileBytes(std::string_view plain) {
  return codepage::Utf8ToAnsi(Encryption::EncryptText(plain, kHistoryCipherPassword)) + "\r\n";
}

class ConnectionHistoryTest : public ::testing::Test {
 protected:
  testing::TempDir dir;
  testing::ScriptedPrompts prompts;
  ConnectionHistory history;
  const std::filesystem::path file = dir / "history.ann";

  bool Load(std::string_view fileBytes) {
    testing::WriteFile(file, fileBytes);
    return history.LoadHistory(file, kHeader, prompts);
  }

  std::vector<std::string> Servers() const {
    std::vector<std::string> servers;
    for (std::size_t i = 0; i < history.Count(); ++i) {
      servers.push_back(history.HistoryServer(i));
    }
    return servers;
  }
};

TEST_F(ConnectionHistoryTest, HeaderJoinsUserAndComputer) {
  EXPECT_EQ(kHeader, "ann.DESK7");
}

TEST_F(ConnectionHistoryTest, SavesTheExampleFileByteForByte) {
  // Logged in to beta with a saved password, then to alpha without one.
  history.UpdateHistory("beta", "ann", "Pa55word");
  history.UpdateHistory("alpha", "ann", "");
  history.SaveHistory(file, kHeader);

  // "ann.DESK7", CR LF, "alpha", TAB, "ann", TAB, CR LF, "beta", TAB, "ann", TAB, "Pa55word",
  // CR LF (42 characters) encrypted under GLIMMER42, then CR LF.
  EXPECT_EQ(testing::ReadFile(file),
            Hex("adb7bb7b8997877d7e5953aeb9b5ba953ba8bab7565a4fb499a6a855aabbbb4ea295677cc3b8bfb1"
                "525c0d0a"));
#ifndef _WIN32  // Windows keeps no permission bits
  EXPECT_EQ(std::filesystem::status(file).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
#endif
}

TEST_F(ConnectionHistoryTest, LoadsWhatWasSaved) {
  history.UpdateHistory("beta", "ann", "Pa55word");
  history.UpdateHistory("alpha", "ann", "");
  history.SaveHistory(file, kHeader);

  ConnectionHistory loaded;
  ASSERT_TRUE(loaded.LoadHistory(file, kHeader, prompts));
  ASSERT_EQ(loaded.Count(), 2u);
  EXPECT_EQ(loaded.HistoryServer(0), "alpha");
  EXPECT_EQ(loaded.HistoryPassword(0), "");
  EXPECT_EQ(loaded.HistoryUser(1), "ann");
  EXPECT_EQ(loaded.HistoryPassword(1), "Pa55word");
  const std::string separator(14, ' ');
  EXPECT_THAT(loaded.ComboItems(),
              ElementsAre("alpha" + separator + "ann", "beta" + separator + "ann"));
  EXPECT_THAT(prompts.Messages(), IsEmpty());
}

TEST_F(ConnectionHistoryTest, LoadsAndSavesTenThousandEntries) {
  std::string plain = kHeader + "\r\n";
  for (int i = 0; i < 10'000; ++i) {
    const std::string n = std::to_string(i);
    plain += "server" + n + ".example.com:8080\tuser\u00E9" + n + "\t" +
             (i % 3 == 0 ? "" : "pw" + n) + "\r\n";
  }
  ASSERT_TRUE(Load(HistoryFileBytes(plain)));
  ASSERT_EQ(history.Count(), 10'000u);
  EXPECT_EQ(history.HistoryServer(9'999), "server9999.example.com:8080");
  EXPECT_EQ(history.HistoryUser(5'000), "user\u00E95000");
  EXPECT_EQ(history.HistoryPassword(4'000), "pw4000");
  EXPECT_EQ(history.HistoryPassword(3'000), "");

  const std::filesystem::path copy = dir / "copy";
  history.SaveHistory(copy, kHeader);
  EXPECT_EQ(testing::ReadFile(copy), testing::ReadFile(file));
}

TEST_F(ConnectionHistoryTest, AHeaderWithNamesOutsideTheCodePageLoadsBack) {
  // The stored header holds "?" for each character outside the code page.
  const std::string header = HistoryHeader("\u0410\u043D\u043D\u0430", "\u041F\u041A7");
  history.UpdateHistory("s", "u", "");
  history.SaveHistory(file, header);
  ConnectionHistory loaded;
  EXPECT_TRUE(loaded.LoadHistory(file, header, prompts));
  EXPECT_FALSE(loaded.LoadHistory(file, HistoryHeader("\u0410\u043D\u043D\u0430", "PK7"), prompts));
  EXPECT_THAT(prompts.MessageTexts(), ElementsAre("Corrupt history file!!"));
}

TEST_F(ConnectionHistoryTest, AFileThatCannotBeReadIsReportedOnceAndNeverSavedOver) {
  std::filesystem::create_directory(file);  // reading fails
  history.UpdateHistory("s", "u", "");
  EXPECT_FALSE(history.LoadHistory(file, kHeader, prompts));
  EXPECT_FALSE(history.LoadHistory(file, kHeader, prompts));
  ASSERT_EQ(prompts.Messages().size(), 1u);
  EXPECT_EQ(prompts.Messages()[0].text,
            "The history file " + file.string() + " cannot be read; it is left as it is.");
  EXPECT_EQ(prompts.Messages()[0].icon, MessageIcon::Exclamation);
  history.SaveHistory(file, kHeader);
  EXPECT_TRUE(std::filesystem::is_directory(file));
}

TEST_F(ConnectionHistoryTest, RefusesAnotherUsersFile) {
  history.UpdateHistory("mine", "ann", "");
  EXPECT_FALSE(Load(HistoryFileBytes("bob.DESK7\r\nbeta\tbob\tpw\r\n")));
  EXPECT_THAT(prompts.Messages(), ElementsAre(Message{.text = "Corrupt history file!!"}));
  EXPECT_THAT(Servers(), ElementsAre("mine"));
}

TEST_F(ConnectionHistoryTest, RefusesAFileEncryptedUnderAnotherPassword) {
  const std::string plain = "ann.DESK7\r\nbeta\tann\tpw\r\n";
  EXPECT_FALSE(Load(codepage::Utf8ToAnsi(Encryption::EncryptText(plain, "other")) + "\r\n"));
  EXPECT_EQ(history.Count(), 0u);
}

// A load replaces the entries held, which stay when the file holds no entry. Reading stops at a
// line of fewer than two fields, and the last line needs its line break.
TEST_F(ConnectionHistoryTest, LoadsTheEntriesUpToTheFirstBrokenLine) {
  const struct {
    std::string fileBytes;
    bool loads;
    std::vector<std::string> servers;
  } cases[] = {
      {HistoryFileBytes("ann.DESK7\r\nnew\tann\t\r\n"), true, {"new"}},
      {HistoryFileBytes("ann.DESK7\r\nalpha\tann\t\r\nbroken\r\nbeta\tann\tpw\r\n"),
       true,
       {"alpha"}},
      {HistoryFileBytes("ann.DESK7\r\nalpha\tann\t\r\nbeta\tann\tpw"), true, {"alpha"}},
      {"", false, {"kept"}},
      {HistoryFileBytes("ann.DESK7"), false, {"kept"}},
      {HistoryFileBytes("ann.DESK7\r\n"), false, {"kept"}},
      {HistoryFileBytes("ann.DESK7\r\nonly one field\r\n"), false, {"kept"}},
  };
  for (const auto& row : cases) {
    history = ConnectionHistory();
    history.UpdateHistory("kept", "ann", "");
    EXPECT_EQ(Load(row.fileBytes), row.loads) << row.fileBytes;
    EXPECT_EQ(Servers(), row.servers) << row.fileBytes;
  }
  EXPECT_FALSE(history.LoadHistory(dir / "missing", kHeader, prompts));
  EXPECT_THAT(Servers(), ElementsAre("kept"));
  EXPECT_THAT(prompts.Messages(), IsEmpty());
}

TEST_F(ConnectionHistoryTest, TwoFieldsGiveAnEmptyPasswordAndExtraFieldsAreIgnored) {
  EXPECT_TRUE(Load(HistoryFileBytes("ann.DESK7\r\na\tu\r\nb\tv\tpw\tmore\textra\r\n")));
  EXPECT_EQ(history.HistoryPassword(0), "");
  EXPECT_EQ(history.HistoryPassword(1), "pw");
}

TEST_F(ConnectionHistoryTest, SavesNothingWithoutEntries) {
  history.SaveHistory(file, kHeader);
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(ConnectionHistoryTest, AFailedSaveKeepsThePreviousFileAndLeavesNoTemporaryFile) {
  history.UpdateHistory("s", "u", "");
  history.SaveHistory(dir / "missing" / "history.ann", kHeader);  // no such directory

  std::filesystem::create_directory(file);  // the rename cannot replace a directory
  testing::WriteFile(file / "inside", "kept");
  history.SaveHistory(file, kHeader);
  EXPECT_EQ(testing::ReadFile(file / "inside"), "kept");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST_F(ConnectionHistoryTest, ASaveReplacesTheFile) {
  testing::WriteFile(file, "previous contents that are longer than the new ones, much longer");
  history.UpdateHistory("s", "u", "");
  history.SaveHistory(file, kHeader);
  EXPECT_EQ(testing::ReadFile(file), HistoryFileBytes("ann.DESK7\r\ns\tu\t\r\n"));
}

TEST_F(ConnectionHistoryTest, FirstLoginInsertsTheServerAtTheFront) {
  EXPECT_EQ(history.UpdateHistory("s", "u", ""), ComboChange::InsertServerAtFront);
  EXPECT_EQ(history.UpdateHistory("t", "u", "pw"), ComboChange::InsertServerAtFront);
  EXPECT_THAT(Servers(), ElementsAre("t", "s"));
  EXPECT_EQ(history.HistoryPassword(0), "pw");
}

TEST_F(ConnectionHistoryTest, LoginAsTheMostRecentEntryReplacesItsPassword) {
  history.UpdateHistory("s", "u", "");
  EXPECT_EQ(history.UpdateHistory("s", "u", "pw"), ComboChange::None);
  EXPECT_EQ(history.HistoryPassword(0), "pw");
  EXPECT_EQ(history.UpdateHistory("s", "u", ""), ComboChange::None);
  EXPECT_EQ(history.HistoryPassword(0), "");
  EXPECT_EQ(history.Count(), 1u);
}

TEST_F(ConnectionHistoryTest, LoginAsTheThirdEntryMovesItToTheTop) {
  history.UpdateHistory("c", "u", "");
  history.UpdateHistory("b", "u", "");
  history.UpdateHistory("a", "u", "");
  EXPECT_EQ(history.UpdateHistory("c", "u", "new"), ComboChange::Rebuild);
  EXPECT_THAT(Servers(), ElementsAre("c", "a", "b"));
  EXPECT_EQ(history.HistoryPassword(0), "new");
}

TEST_F(ConnectionHistoryTest, EntriesAreFoundByExactServerAndUser) {
  history.UpdateHistory("s", "u", "");
  EXPECT_EQ(history.UpdateHistory("s", "U", ""), ComboChange::InsertServerAtFront);
  EXPECT_EQ(history.UpdateHistory("s ", "u", ""), ComboChange::InsertServerAtFront);
  EXPECT_EQ(history.Count(), 3u);
}

TEST_F(ConnectionHistoryTest, MoveToFrontKeepsTheOthersInOrder) {
  for (const char* server : {"e", "d", "c", "b", "a"}) {
    history.UpdateHistory(server, "u", "");
  }
  history.MoveHistoryToFront(3);
  EXPECT_THAT(Servers(), ElementsAre("d", "a", "b", "c", "e"));
  history.MoveHistoryToFront(0);
  history.MoveHistoryToFront(5);  // no such entry
  EXPECT_THAT(Servers(), ElementsAre("d", "a", "b", "c", "e"));
}

TEST_F(ConnectionHistoryTest, AccessorsGiveEmptyBeyondTheEntries) {
  EXPECT_EQ(history.HistoryServer(0), "");
  EXPECT_EQ(history.HistoryUser(3), "");
  EXPECT_EQ(history.HistoryPassword(1), "");
}

}  // namespace
}  // namespace penlark

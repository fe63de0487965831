#include "support/Offices.h"
#include "word/WordContract.h"
#include "word/writer/RunningOffice.h"
#include "word/writer/Writer.h"
#include "word/writer/WriterWord.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <sstream>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace penlark::testing {
namespace {

using ::testing::HasSubstr;

// One office for this program's tests, started before the first; each test leaves none open.
struct SharedWriterEnvironment final : ::testing::Environment {
  void SetUp() override { word = std::make_unique<WriterWord>(); }
  void TearDown() override { word.reset(); }
  std::unique_ptr<WriterWord> word;
};
auto* const sharedWriter = static_cast<SharedWriterEnvironment*>(
    ::testing::AddGlobalTestEnvironment(new SharedWriterEnvironment));

WriterWord& SharedWriter() {
  return *sharedWriter->word;
}

void CloseAllDocuments(Word& word) {
  while (word.DocumentsCount() > 0) {
    word.DocumentsItem(1)->Close();
  }
}

struct SharedWriterMaker {
  static constexpr bool kNewestFirst = true;
  Word& Get() { return SharedWriter(); }
  ~SharedWriterMaker() { CloseAllDocuments(SharedWriter()); }
};
INSTANTIATE_TYPED_TEST_SUITE_P(Writer, WordContract, SharedWriterMaker);

bool ProcessExists(int pid) {
  return kill(pid, 0) == 0 || errno == EPERM;
}

// A dead office fails what is asked until a new application replaces it, without its documents.
TEST(WriterWordTest, NewApplicationKeepsAnOfficeThatAnswersAndReplacesOneThatDied) {
  TempDir dir;
  WriteFile(dir / "a.rtf", "{\\rtf1 a}");
  WriteFile(dir / "b.rtf", "{\\rtf1 b}");
  WriterWord& word = SharedWriter();
  const auto before = word.DocumentsOpen((dir / "a.rtf").string());
  // The office locks a file it has open for editing, and only then.
  EXPECT_TRUE(std::filesystem::exists(dir / ".~lock.a.rtf#"));
  const int first = word.OfficeProcessId();
  word.NewApplication();
  EXPECT_EQ(word.OfficeProcessId(), first);
  EXPECT_EQ(before->Name(), "a.rtf");
  word.DocumentsOpen((dir / "b.rtf").string())->Close();
  EXPECT_FALSE(std::filesystem::exists(dir / ".~lock.b.rtf#"));

  ASSERT_EQ(kill(first, SIGKILL), 0);
  EXPECT_THROW(word.DocumentsOpen((dir / "b.rtf").string()), WordError);
  word.NewApplication();
  EXPECT_NE(word.OfficeProcessId(), first);
  EXPECT_EQ(word.DocumentsCount(), 0);
  EXPECT_THROW(before->Name(), WordError);
  EXPECT_EQ(word.DocumentsOpen((dir / "b.rtf").string())->Name(), "b.rtf");
  CloseAllDocuments(word);
}

// Offices that fail to start: each start of the program writes its process id to "starts".
TEST(WriterWordTest, AnOfficeThatDoesNotComeUpFailsWithItsReasonAndLeavesNoProcess) {
  struct Case {
    const char* name;
    const char* script;  // the body of soffice.bin; nullptr for none installed
    int startTimeoutMs;
    const char* message;
    int starts;
  };
  const Case cases[] = {
      {"not installed", nullptr, 60'000, "not installed", 0},
      {"ends", "exit 3", 60'000, "exited with status 3 before it accepted a connection.", 1},
      {"asks for restarts", "exit 81", 60'000, "status 81 before it accepted a connection.", 3},
      {"never listens", "exec sleep 60", 500, "did not accept a connection in time.", 1},
  };
  EXPECT_TRUE(IsWriterInstalled());
  for (const Case& row : cases) {
    SCOPED_TRACE(row.name);
    TempDir dir;
    WriterOptions options{.programDir = dir.Path(),
                          .startTimeout = std::chrono::milliseconds(row.startTimeoutMs)};
    if (row.script != nullptr) {
      WriteFile(dir / "fundamentalrc", "");
      WriteFile(dir / "soffice.bin", "#!/bin/sh\necho $$ >> \"$(dirname \"$0\")/starts\"\n" +
                                         std::string(row.script) + "\n");
      chmod((dir / "soffice.bin").c_str(), 0755);
    }
    EXPECT_EQ(IsWriterInstalled(options), row.script != nullptr);
    EXPECT_THAT([&] { StartWriter(options); },
                ::testing::ThrowsMessage<WordError>(HasSubstr(row.message)));
    std::istringstream starts(ReadFile(dir / "starts").value_or(""));
    int count = 0;
    for (int pid = 0; starts >> pid; ++count) {
      EXPECT_FALSE(ProcessExists(pid)) << pid;
    }
    EXPECT_EQ(count, row.starts);
  }
}

TEST(WriterWordTest, AnOfficeOfOurOwnEndsWithItsObjectEvenWhenItAnswersNothing) {
  TempDir dir;
  WriteFile(dir / "a.rtf", "{\\rtf1 a}");
  int pid = 0;
  std::shared_ptr<WordDocument> document;
  {
    WriterWord word({.profileDir = dir / "profile", .stopTimeout = std::chrono::milliseconds(500)});
    pid = word.OfficeProcessId();
    EXPECT_NE(pid, SharedWriter().OfficeProcessId());
    // Attached to as a user's office is: asked to accept our connection, and left running.
    EXPECT_EQ(WriterWord({.runningProfile = dir / "profile"}).OfficeProcessId(), pid);
    document = word.DocumentsOpen((dir / "a.rtf").string());
    EXPECT_EQ(SharedWriter().DocumentsCount(), 0);
    // Stopped, it answers nothing, like one asking its user about unsaved changes.
    ASSERT_EQ(kill(pid, SIGSTOP), 0);
  }
  EXPECT_FALSE(ProcessExists(pid));
  EXPECT_THROW(document->Name(), WordError);
}

// An ended office not yet reaped shows no command line: it runs on no profile, not the default one.
TEST(WriterWordTest, AnEndedOfficeIsNotARunningOne) {
  TempDir dir;
  std::filesystem::copy_file("/bin/true", dir / "soffice.bin");
  const pid_t ended = fork();
  ASSERT_GE(ended, 0);
  if (ended == 0) {
    execl((dir / "soffice.bin").c_str(), "soffice.bin", nullptr);
    _exit(127);
  }
  ASSERT_TRUE(Eventually([&] {
    return ReadFile("/proc/" + std::to_string(ended) + "/stat").value_or("").find(") Z") !=
           std::string::npos;
  }));
  EXPECT_EQ(FindRunningOffice(DefaultOfficeProfile()), std::nullopt);
  waitpid(ended, nullptr, 0);
}

TEST(WriterWordTest, TheOfficeDiesWithTheProgramThatStartedIt) {
  // Orphans come to us instead of to init, so that we see how the office ends.
  ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
  FILE* helper = popen("exec '" PENLARK_WRITER_ORPHAN "'", "r");
  ASSERT_NE(helper, nullptr);
  int helperPid = 0;
  int office = 0;
  ASSERT_EQ(std::fscanf(helper, "%d %d", &helperPid, &office), 2);
  kill(helperPid, SIGKILL);
  pclose(helper);

  int status = 0;
  const bool ended = Eventually([&] { return waitpid(office, &status, WNOHANG) == office; },
                                std::chrono::seconds(30));
  if (!ended) {
    kill(office, SIGKILL);
    waitpid(office, nullptr, 0);
  }
  ASSERT_TRUE(ended) << "the office outlived the program that started it";
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
}

}  // namespace
}  // namespace penlark::testing

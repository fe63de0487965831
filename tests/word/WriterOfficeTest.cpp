#include "support/TempDir.h"
#include "word/SharedWriter.h"
#include "word/writer/Writer.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

extern char** environ;

namespace penlark {
namespace {

using ::testing::HasSubstr;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

using Clock = std::chrono::steady_clock;
constexpr auto kPatience = std::chrono::seconds(30);

bool ProcessExists(int pid) {
  return kill(pid, 0) == 0 || errno == EPERM;
}

std::string StartError(const WriterOptions& options) {
  try {
    StartWriter(options);
  } catch (const WordError& error) {
    return error.what();
  }
  ADD_FAILURE() << "the office started";
  return {};
}

// A program folder whose soffice.bin is the given shell script.
WriterOptions FakeOffice(const TempDir& dir, const std::string& script) {
  WriteFile(dir / "fundamentalrc", "");
  WriteFile(dir / "soffice.bin", "#!/bin/sh\n" + script);
  chmod((dir / "soffice.bin").c_str(), 0755);
  WriterOptions options;
  options.programDir = dir.Path();
  return options;
}

TEST(WriterStartTest, IsInstalledOnlyWhereItsProgramIs) {
  EXPECT_TRUE(IsWriterInstalled());
  TempDir empty;
  WriterOptions options;
  options.programDir = empty.Path();
  EXPECT_FALSE(IsWriterInstalled(options));
  EXPECT_THAT(StartError(options), HasSubstr("not installed"));
}

TEST(WriterStartTest, AnOfficeThatEndsBeforeItListensFails) {
  TempDir dir;
  EXPECT_THAT(StartError(FakeOffice(dir, "exit 3\n")),
              HasSubstr("exited with status 3 before it accepted a connection"));
}

TEST(WriterStartTest, AskingForARestartStartsItAgainAFewTimes) {
  TempDir dir;
  const auto options = FakeOffice(dir, "echo start >> \"$(dirname \"$0\")/starts\"\nexit 81\n");
  EXPECT_THAT(StartError(options), HasSubstr("status 81"));
  EXPECT_EQ(ReadFile(dir / "starts"), "start\nstart\nstart\n");
}

TEST(WriterStartTest, AnOfficeThatNeverListensIsKilledAtTheTimeout) {
  TempDir dir;
  auto options = FakeOffice(dir, "echo $$ > \"$(dirname \"$0\")/pid\"\nexec sleep 60\n");
  options.startTimeout = std::chrono::milliseconds(500);
  EXPECT_THAT(StartError(options), HasSubstr("did not accept a connection in time"));
  const int pid = std::stoi(ReadFile(dir / "pid").value_or("0"));
  ASSERT_GT(pid, 0);
  EXPECT_FALSE(ProcessExists(pid));
}

TEST(WriterLifeTest, EachInstanceHasItsOwnOfficeThatEndsWithIt) {
  TempDir dir;
  WriteFile(dir / "a.rtf", "{\\rtf1 a}");
  int pid = 0;
  std::shared_ptr<WordDocument> document;
  {
    WriterWord second;
    pid = second.OfficeProcessId();
    EXPECT_NE(pid, testing::SharedWriter().OfficeProcessId());
    EXPECT_TRUE(ProcessExists(pid));
    document = second.DocumentsOpen((dir / "a.rtf").string());
    EXPECT_EQ(second.DocumentsCount(), 1);
    EXPECT_EQ(testing::SharedWriter().DocumentsCount(), 0);
  }
  EXPECT_FALSE(ProcessExists(pid));
  EXPECT_THROW(document->Name(), WordError);
}

TEST(WriterLifeTest, AnOfficeThatDoesNotEndWhenAskedIsKilled) {
  // A stopped office answers nothing, as one whose user has a question about unsaved changes in
  // front of them: asking it to end would wait for ever.
  WriterOptions options;
  options.stopTimeout = std::chrono::milliseconds(500);
  int pid = 0;
  {
    WriterWord word(options);
    pid = word.OfficeProcessId();
    ASSERT_EQ(kill(pid, SIGSTOP), 0);
  }
  EXPECT_FALSE(ProcessExists(pid));
}

TEST(WriterLifeTest, NewApplicationKeepsAnOfficeThatAnswers) {
  TempDir dir;
  WriteFile(dir / "a.rtf", "{\\rtf1 a}");
  auto& word = testing::SharedWriter();
  const auto document = word.DocumentsOpen((dir / "a.rtf").string());
  const int pid = word.OfficeProcessId();
  word.NewApplication();
  EXPECT_EQ(word.OfficeProcessId(), pid);
  EXPECT_EQ(word.DocumentsCount(), 1);
  EXPECT_EQ(document->Name(), "a.rtf");
  testing::CloseAllDocuments(word);
}

TEST(WriterLifeTest, NewApplicationReplacesAnOfficeThatDied) {
  TempDir dir;
  WriteFile(dir / "a.rtf", "{\\rtf1 a}");
  WriteFile(dir / "b.rtf", "{\\rtf1 b}");
  WriterWord word;
  const auto a = word.DocumentsOpen((dir / "a.rtf").string());
  const int first = word.OfficeProcessId();
  ASSERT_EQ(kill(first, SIGKILL), 0);

  EXPECT_THROW(word.DocumentsOpen((dir / "b.rtf").string()), WordError);
  word.NewApplication();

  EXPECT_NE(word.OfficeProcessId(), first);
  const auto b = word.DocumentsOpen((dir / "b.rtf").string());
  EXPECT_EQ(word.DocumentsCount(), 1);
  EXPECT_EQ(word.ActiveDocument(), b);
  EXPECT_THROW(a->Name(), WordError);
}

// Runs the orphan helper; returns its process id and, once it has said it, its office's.
std::pair<pid_t, int> StartOrphanHelper() {
  int output[2];
  if (pipe(output) != 0) {
    return {-1, 0};
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, output[0]);
  posix_spawn_file_actions_addclose(&actions, output[1]);
  std::string program = PENLARK_WRITER_ORPHAN;
  char* argv[] = {program.data(), nullptr};
  pid_t helper = -1;
  const int spawned = posix_spawn(&helper, program.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(output[1]);
  int officePid = 0;
  FILE* lines = fdopen(output[0], "r");
  if (spawned != 0 || std::fscanf(lines, "%d", &officePid) != 1) {
    officePid = 0;
  }
  std::fclose(lines);
  return {spawned == 0 ? helper : -1, officePid};
}

TEST(WriterLifeTest, TheOfficeDiesWithTheProgramThatStartedIt) {
  // Orphans are handed to us instead of to init, so that we can see how the office ends.
  ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
  const auto [helper, office] = StartOrphanHelper();
  ASSERT_GT(helper, 0);
  ASSERT_GT(office, 0);

  kill(helper, SIGKILL);
  waitpid(helper, nullptr, 0);

  int status = 0;
  pid_t reaped = 0;
  const auto deadline = Clock::now() + kPatience;
  while ((reaped = waitpid(office, &status, WNOHANG)) != office && Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  if (reaped != office) {
    kill(office, SIGKILL);
    waitpid(office, nullptr, 0);
    FAIL() << "the office outlived the program that started it";
  }
  EXPECT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGKILL);
}

}  // namespace
}  // namespace penlark

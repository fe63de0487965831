#include "conversion/Transform.h"
#include "support/ChildProcess.h"
#include "support/Offices.h"
#include "support/TempDir.h"
#include "support/TestServer.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace penlark {
namespace {

using ::testing::HasSubstr;
using testing::ProgramResult;
using ::testing::StartsWith;

// The operations with the dialog, run without a display: Qt draws off screen and Writer runs
// headless, so nothing waits for a user.
class DesktopCommandsTest : public ::testing::Test {
 protected:
  DesktopCommandsTest() {
    testing::WriteFile(dir / "a.rtf", "{\\rtf1 a\\par}");
    testing::WriteFile(dir / "b.rtf", "{\\rtf1 b\\par}");
  }

  // No display, and nothing of the user's: the dialog plays the test's script.
  testing::EnvironmentChanges Environment() const {
    return {{"DISPLAY", std::nullopt},
            {"QT_QPA_PLATFORM", "offscreen"},
            {"XDG_RUNTIME_DIR", dir.Path().string()},
            {"XDG_CONFIG_HOME", (dir / "config").string()},
            {"XDG_DATA_HOME", (dir / "data").string()},
            {"PENLARK_DIALOG_SCRIPT", (dir / "script").string()},
            {"PENLARK_REGISTRY", (dir / "registry.reg").string()},
            {"PENLARK_OFFICE_TIMEOUT", "5"}};
  }

  ProgramResult Run(const std::vector<std::string>& args) {
    return testing::RunProgram(PENLARK_PROGRAM, args, {}, Environment());
  }

  // "penlark close" over a.rtf and b.rtf, b active, with these options: only a stays open.
  void ExpectCloseLeavesA(const std::vector<std::string>& options) {
    std::vector<std::string> args{"close", "--document", (dir / "a.rtf").string(), "--document",
                                  (dir / "b.rtf").string()};
    args.insert(args.end(), options.begin(), options.end());
    const ProgramResult closed = Run(args);
    EXPECT_EQ(closed.exitCode, 0) << closed.err;
    EXPECT_EQ(closed.out, "Documents open:\n  " + (dir / "a.rtf").string() + "   (active)\n");
  }

  testing::TempDir dir;
};

// The stand-in word processor, and one that does not exist.
TEST_F(DesktopCommandsTest, CommandsOnTheStandInAndAnUnknownWordProcessor) {
  ExpectCloseLeavesA({"--word=local"});
  const ProgramResult noDocument = Run({"wordclose", "--word=local"});
  EXPECT_EQ(noDocument.exitCode, 1);
  EXPECT_EQ(noDocument.err,
            "penlark: This command is not available because no document is open.\n");
  EXPECT_EQ(noDocument.out, "No document is open.\n");
  for (const char* command : {"close", "demo"}) {
    const ProgramResult result = Run({command, "--word=other"});
    EXPECT_EQ(result.exitCode, 2) << command;
    EXPECT_THAT(result.err, HasSubstr("--word=writer|local")) << command;
  }
}

#ifdef PENLARK_WITH_WRITER
using Clock = std::chrono::steady_clock;
using testing::Eventually;
using testing::OfficesOn;

// An office the user started, headless on a profile of its own, as a desktop would start it.
std::unique_ptr<testing::ChildProcess> StartUsersOffice(const std::filesystem::path& profile) {
  constexpr const char* kOffice = OFFICE_PROGRAM_DIR "/soffice.bin";
  const std::string onProfile = "-env:UserInstallation=file://" + profile.string();
  // An office makes a new profile and then asks to be started again.
  testing::RunProgram(kOffice, {"--headless", "--terminate_after_init", onProfile});
  auto office = std::make_unique<testing::ChildProcess>(
      kOffice, std::vector<std::string>{"--headless", "--norestore", onProfile});
  // The lock appears once the office takes the arguments of later starts.
  EXPECT_TRUE(Eventually([&] { return std::filesystem::exists(profile / ".lock"); }));
  return office;
}

TEST_F(DesktopCommandsTest, CommandsActOnTheUsersRunningOfficeThroughOneResidentPenlark) {
  testing::TestServer server;
  server.AddDocument("/report.rtf", RtfToXml("{\\rtf1 quarterly report\\par}"));
  const std::string login = testing::ScriptedLogin(server.ServerText());
  // The save's dialog has the server and user from the remembered login (not the password).
  testing::WriteFile(dir / "script", login + "set filename report.rtf\nclick action\n--\n" +
                                         "set password secret\nclick login\n" +
                                         "set filename copy.rtf\nclick action\n--\n" +
                                         "set filename waiting.rtf\n");
  const auto profile = dir / "profile";
  const auto office = StartUsersOffice(profile);
  const std::vector<std::string> onProfile{"--profile", profile.string()};
  auto run = [&](std::vector<std::string> args) {
    args.insert(args.end(), onProfile.begin(), onProfile.end());
    return Run(args);
  };

  office->Signal(SIGSTOP);
  const auto asked = Clock::now();
  const ProgramResult stopped = run({"new"});
  EXPECT_LT(Clock::now() - asked, std::chrono::seconds(20));
  office->Signal(SIGCONT);
  EXPECT_EQ(stopped.exitCode, 1);
  EXPECT_THAT(stopped.err, HasSubstr("did not answer in time"));

  ExpectCloseLeavesA(onProfile);
  const ProgramResult opened = run({"open"});
  EXPECT_EQ(opened.exitCode, 0) << opened.err;
  const auto local = (testing::UsersWorkFolder(dir / "data") / "report.rtf").string();
  EXPECT_EQ(opened.out,
            "Documents open:\n  " + local + "   (active)\n  " + (dir / "a.rtf").string() + "\n");
  const ProgramResult saved = run({"save"});
  EXPECT_EQ(saved.exitCode, 0) << saved.err;
  EXPECT_THAT(server.Document("/copy.rtf").value_or(""), HasSubstr("quarterly report"));
  EXPECT_EQ(OfficesOn(profile), 1);

  // One dialog at a time.
  testing::ChildProcess waiting(PENLARK_PROGRAM, {"open", "--profile", profile.string()},
                                Environment());
  std::this_thread::sleep_for(std::chrono::seconds(1));
  const ProgramResult second = run({"saveas"});
  EXPECT_EQ(second.exitCode, 1);
  EXPECT_THAT(second.err, HasSubstr("brought to the front"));

  // Penlark killed with its dialog up: the office goes on, and the next command reaches it.
  using namespace std::string_literals;
  const auto residentArguments = "resident\0--profile\0"s + profile.string();
  const auto residents = testing::ProcessIds("penlark", residentArguments);
  ASSERT_EQ(residents.size(), 1u);
  kill(residents.front(), SIGKILL);
  EXPECT_THAT(waiting.Finish().err, HasSubstr("ended before it answered"));
  const ProgramResult after = run({"new"});
  EXPECT_EQ(after.exitCode, 0) << after.err;
  EXPECT_THAT(after.out, HasSubstr((testing::UsersWorkFolder(dir / "data") / "copy.rtf").string() +
                                   "   (active)"));

  // The office hanging after its Penlark attached: the command hears why, that Penlark ends.
  office->Signal(SIGSTOP);
  const ProgramResult hung = run({"new"});
  office->Signal(SIGCONT);
  EXPECT_EQ(hung.exitCode, 1);
  EXPECT_THAT(hung.err, HasSubstr("did not answer within 5 seconds"));
  EXPECT_TRUE(testing::Eventually(
      [&] { return testing::ProcessIds("penlark", residentArguments).empty(); }));

  // The office ending takes the dialog down, sending nothing, and the resident with it.
  testing::WriteFile(dir / "script", "set filename waiting.rtf\n");
  testing::ChildProcess closing(PENLARK_PROGRAM, {"open", "--profile", profile.string()},
                                Environment());
  std::this_thread::sleep_for(std::chrono::seconds(1));
  server.ClearRequests();
  office->Signal(SIGTERM);
  office->Finish();
  const ProgramResult ended = closing.Finish();
  EXPECT_EQ(ended.exitCode, 1);
  EXPECT_THAT(ended.err, HasSubstr("nothing was sent"));
  EXPECT_TRUE(server.Requests().empty());
  EXPECT_TRUE(Eventually([&] { return std::filesystem::is_empty(dir / "penlark"); }));
}

// Writer closes as the stand-in does, and is the word processor when it is installed: the two
// tell a missing file apart by their messages.
TEST_F(DesktopCommandsTest, WriterIsTheWordProcessorWhenItIsInstalled) {
  ExpectCloseLeavesA({"--word=writer"});
  const auto missing = (dir / "missing.rtf").string();
  const ProgramResult chosen = Run({"new", "--document", missing});
  const ProgramResult writer = Run({"new", "--document", missing, "--word=writer"});
  const ProgramResult local = Run({"new", "--document", missing, "--word=local"});
  EXPECT_EQ(chosen.exitCode, 1);
  EXPECT_THAT(writer.err, StartsWith("penlark: "));
  EXPECT_EQ(chosen.err, writer.err);
  EXPECT_NE(chosen.err, local.err);
}
#endif

}  // namespace
}  // namespace penlark

#include "support/ChildProcess.h"
#include "support/TempDir.h"
#include "support/TestServer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace penlark {
namespace {

using ::testing::HasSubstr;
using testing::ProgramResult;

constexpr std::string_view kFailureLine =
    "Error: Connection to Tarnwell Server failed. The Server could be down. Try Later...\n";

class PenlarkCommandsTest : public ::testing::Test {
 protected:
  testing::TestServer server;

  // Runs "penlark COMMAND --server S --user ann OPERANDS" with the password in the environment.
  ProgramResult Run(const std::string& command, const std::vector<std::string>& operands,
                    const std::string& password = "secret") {
    std::vector<std::string> args{command, "--server", server.ServerText(), "--user", "ann"};
    args.insert(args.end(), operands.begin(), operands.end());
    return testing::RunProgram(PENLARK_PROGRAM, args, {}, {{"PENLARK_PASSWORD", password}});
  }
};

TEST_F(PenlarkCommandsTest, LsPrintsTypeTabNameLines) {
  server.AddFolder("/docs/reports");
  server.AddDocument("/docs/a b.xml", "<a/>");
  const ProgramResult result = Run("ls", {"/docs"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, "1\treports\n2\ta b.xml\n");
  EXPECT_EQ(result.err, "");
}

TEST_F(PenlarkCommandsTest, LsOfAnEmptyFolderSucceedsWithoutOutput) {
  const ProgramResult result = Run("ls", {"/"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, "");
}

TEST_F(PenlarkCommandsTest, ServerTextFollowsTheEndpointRule) {
  const ProgramResult result = testing::RunProgram(
      PENLARK_PROGRAM,
      {"ls", "--server", " http://" + server.ServerText() + "/ ", "--user", "ann", "/"}, {},
      {{"PENLARK_PASSWORD", "secret"}});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(server.Requests().size(), 1u);
}

TEST_F(PenlarkCommandsTest, PasswordComesFromStandardInputWhenAsked) {
  const ProgramResult result = testing::RunProgram(
      PENLARK_PROGRAM,
      {"ls", "--server", server.ServerText(), "--user", "ann", "--password-stdin", "/"},
      "secret\r\nignored\n", {{"PENLARK_PASSWORD", "wrong"}});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_THAT(server.LastRequest(), HasSubstr(R"(password="secret")"));
}

TEST_F(PenlarkCommandsTest, WithoutAPasswordAnEmptyOneIsSent) {
  const ProgramResult result = testing::RunProgram(
      PENLARK_PROGRAM, {"ls", "--server", server.ServerText(), "--user", "ann", "/"}, {},
      {{"PENLARK_PASSWORD", std::nullopt}});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_THAT(server.LastRequest(), HasSubstr(R"(password="")"));
}

TEST_F(PenlarkCommandsTest, FaultGoesToStandardErrorWithStatusOne) {
  const ProgramResult result = Run("ls", {"/"}, "wrong");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "Login failed: unknown user name or wrong password.\n");
}

TEST_F(PenlarkCommandsTest, UnreachableServerFailsWithTheConnectionMessage) {
  server.Stop();
  const ProgramResult result = Run("ls", {"/"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, kFailureLine);
}

TEST_F(PenlarkCommandsTest, ReplyThatIsNotAListingFails) {
  server.ReplyWithText("<error>nope</error>");
  EXPECT_EQ(Run("ls", {"/"}).exitCode, 1);
  server.ReplyWithText("not xml");
  EXPECT_EQ(Run("ls", {"/"}).exitCode, 1);
  server.ReplyWithText(R"(<files><f name="x" type="abc"/></files>)");
  const ProgramResult result = Run("ls", {"/"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "\n");  // the last error, empty so far
}

TEST_F(PenlarkCommandsTest, MkdirCreatesAFolder) {
  EXPECT_EQ(Run("mkdir", {"/", "new folder"}).exitCode, 0);
  EXPECT_TRUE(server.HasFolder("/new folder"));
  EXPECT_THAT(server.LastRequest(), HasSubstr(R"(type="1")"));

  const ProgramResult again = Run("mkdir", {"/", "new folder"});
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_THAT(again.err, HasSubstr("already exists"));
}

TEST_F(PenlarkCommandsTest, RmDeletesWithTheTypeFromTheListing) {
  server.AddDocument("/d.xml", "<d/>");
  server.AddFolder("/empty");
  EXPECT_EQ(Run("rm", {"/", "d.xml"}).exitCode, 0);
  EXPECT_THAT(server.LastRequest(), HasSubstr(R"(<delete dir="/" name="d.xml" type="2")"));
  EXPECT_EQ(Run("rm", {"/", "empty"}).exitCode, 0);
  EXPECT_THAT(server.LastRequest(), HasSubstr(R"(<delete dir="/" name="empty" type="1")"));
  EXPECT_FALSE(server.HasEntry("/d.xml"));
  EXPECT_FALSE(server.HasEntry("/empty"));
}

TEST_F(PenlarkCommandsTest, RmOfANameNotInTheListingFailsWithoutDeleting) {
  server.AddDocument("/d.xml", "<d/>");
  const ProgramResult result = Run("rm", {"/", "D.xml"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "There is no entry \"D.xml\" in the folder \"/\".\n");
  EXPECT_EQ(server.Requests().size(), 1u);  // the listing only
}

TEST_F(PenlarkCommandsTest, RmOfAFolderThatIsNotEmptyFails) {
  server.AddDocument("/full/d.xml", "<d/>");
  const ProgramResult result = Run("rm", {"/", "full"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "The folder \"full\" is not empty.\n");
}

TEST_F(PenlarkCommandsTest, BadArgumentsGiveStatusTwoAndUsage) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {},
           {"nosuchcommand"},
           {"ls", "--server", "s", "/"},
           {"ls", "--server", "s", "--user", "u"},
           {"ls", "--server", "s", "--user", "u", "/", "extra"},
           {"ls", "--server", "s", "--user", "u", "--password", "p", "/"},
           {"ls", "/", "--server", "s", "--user", "u"},
           {"rm", "--server", "s", "--user", "u", "/"},
           {"settings", "extra"},
       }) {
    const ProgramResult result = testing::RunProgram(PENLARK_PROGRAM, args);
    EXPECT_EQ(result.exitCode, 2) << ::testing::PrintToString(args);
    EXPECT_THAT(result.err, HasSubstr("Usage: penlark"));
  }
  EXPECT_TRUE(server.Requests().empty());
}

// What a save sends, an open reads back: also groups nested 10,000 deep.
TEST_F(PenlarkCommandsTest, PutThenGetGivesBackTheSameRtf) {
  testing::TempDir dir;
  server.AddFolder("/docs");
  for (const std::string& rtf : {std::string("{\\rtf1\\ansi Caf\\'e9\\par }"),
                                 std::string(10'000, '{') + "deep" + std::string(10'000, '}')}) {
    testing::WriteFile(dir / "in.rtf", rtf);
    EXPECT_EQ(Run("put", {"/docs", "letter.rtf", (dir / "in.rtf").string()}).exitCode, 0);
    EXPECT_THAT(server.Document("/docs/letter.rtf").value_or(""), HasSubstr("<Document>"));

    const ProgramResult got = Run("get", {"/docs", "letter.rtf", (dir / "out.rtf").string()});
    EXPECT_EQ(got.exitCode, 0);
    EXPECT_EQ(got.err, "");
    const std::string back = testing::ReadFile(dir / "out.rtf").value_or("");
    EXPECT_EQ(back.size(), rtf.size());
    EXPECT_TRUE(back == rtf) << rtf.substr(0, 40);
  }
}

TEST_F(PenlarkCommandsTest, GetOfWhatIsNotADocumentFailsAndWritesNothing) {
  testing::TempDir dir;
  server.AddDocument("/broken.rtf", "<Document><G>");
  server.AddDocument("/other.rtf", "<Other/>");
  for (const char* name : {"broken.rtf", "other.rtf"}) {
    const ProgramResult result = Run("get", {"/", name, (dir / "out.rtf").string()});
    EXPECT_EQ(result.exitCode, 1) << name;
    EXPECT_EQ(result.err, "ERROR: Unable to load the XML document\n") << name;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "out.rtf"));
}

TEST_F(PenlarkCommandsTest, PutOfAMissingFileFailsWithoutARequest) {
  testing::TempDir dir;
  const ProgramResult result = Run("put", {"/", "x.rtf", (dir / "absent.rtf").string()});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_THAT(result.err, HasSubstr("No such file or directory"));
  EXPECT_TRUE(server.Requests().empty());
}

TEST_F(PenlarkCommandsTest, HelpGoesToStandardOutput) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--help"},
                                             {"-h"},
                                             {"ls", "--help"},
                                             {"mkdir", "--help"},
                                             {"get", "--help"},
                                             {"put", "--help"},
                                             {"open", "--help"},
                                             {"demo", "--help"}}) {
    const ProgramResult result = testing::RunProgram(PENLARK_PROGRAM, args);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_THAT(result.out, HasSubstr("Usage: penlark"));
  }
}

}  // namespace
}  // namespace penlark

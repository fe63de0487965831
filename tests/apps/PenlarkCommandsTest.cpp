#include "support/ChildProcess.h"
#include "support/SameBytes.h"
#include "support/TempDir.h"
#include "support/TestServer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace penlark {
namespace {

using ::testing::_;
using ::testing::Eq;
using ::testing::HasSubstr;
using ::testing::Matcher;
using testing::ProgramResult;

class PenlarkCommandsTest : public ::testing::Test {
 protected:
  testing::TestServer server;
  testing::TempDir dir;

  // Runs "penlark COMMAND --server S --user ann OPERANDS" with the password in the environment.
  ProgramResult Run(std::vector<std::string> command, const char* password = "secret") {
    command.insert(command.begin() + 1, {"--server", server.ServerText(), "--user", "ann"});
    return testing::RunProgram(PENLARK_PROGRAM, command, {}, {{"PENLARK_PASSWORD", password}});
  }
};

// One command after another against one server: what each prints, and what it asked the server.
TEST_F(PenlarkCommandsTest, EachCommandPrintsItsResultOrItsFailure) {
  server.AddFolder("/docs/reports");
  server.AddDocument("/docs/a b.xml", "<a/>");
  server.AddFolder("/empty");
  server.AddDocument("/d.xml", "<d/>");
  server.AddDocument("/full/d.xml", "<d/>");
  server.AddDocument("/broken.rtf", "<Document><G>");
  server.AddDocument("/other.rtf", "<Other/>");
  const std::string out = (dir / "out.rtf").string();
  const auto notLoaded = Eq("ERROR: Unable to load the XML document\n");
  const struct {
    std::vector<std::string> command;
    int exitCode;
    Matcher<std::string> printed;
    std::size_t requests;
    Matcher<std::string> lastRequest = _;
    std::string reply = "";  // what the server replies instead of its answer
    const char* password = "secret";
  } cases[] = {
      {{"ls", "/docs"}, 0, Eq("1\treports\n2\ta b.xml\n"), 1},
      {{"ls", "/empty"}, 0, Eq(""), 1},
      {{"mkdir", "/", "new folder"}, 0, Eq(""), 1, HasSubstr(R"(type="1")")},
      {{"mkdir", "/", "new folder"}, 1, HasSubstr("already exists"), 1},
      {{"rm", "/", "d.xml"}, 0, Eq(""), 2, HasSubstr(R"(<delete dir="/" name="d.xml" type="2")")},
      {{"rm", "/", "empty"}, 0, Eq(""), 2, HasSubstr(R"(<delete dir="/" name="empty" type="1")")},
      {{"rm", "/", "D.xml"}, 1, Eq("There is no entry \"D.xml\" in the folder \"/\".\n"), 1},
      {{"rm", "/", "full"}, 1, Eq("The folder \"full\" is not empty.\n"), 2},
      {{"put", "/", "x.rtf", (dir / "absent.rtf").string()},
       1,
       HasSubstr("No such file or directory"),
       0},
      {{"get", "/", "broken.rtf", out}, 1, notLoaded, 1},
      {{"get", "/", "other.rtf", out}, 1, notLoaded, 1},
      {{"ls", "/"}, 1, _, 1, _, "<error>nope</error>"},
      {{"ls", "/"}, 1, _, 1, _, "not xml"},
      {{"ls", "/"}, 1, Eq("\n"), 1, _, R"(<files><f name="x" type="abc"/></files>)"},
      {{"ls", "/"},
       1,
       Eq("Login failed: unknown user name or wrong password.\n"),
       1,
       _,
       "",
       "wrong"},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(::testing::PrintToString(row.command));
    server.ClearRequests();
    row.reply.empty() ? server.Behave() : server.ReplyWithText(row.reply);
    const ProgramResult result = Run(row.command, row.password);
    EXPECT_EQ(result.exitCode, row.exitCode);
    EXPECT_THAT(row.exitCode == 0 ? result.out : result.err, row.printed);
    EXPECT_EQ(row.exitCode == 0 ? result.err : result.out, "");
    EXPECT_EQ(server.Requests().size(), row.requests);
    if (row.requests > 0) {
      EXPECT_THAT(server.LastRequest(), row.lastRequest);
    }
  }
  EXPECT_TRUE(server.HasFolder("/new folder"));
  EXPECT_FALSE(server.HasEntry("/d.xml"));
  EXPECT_FALSE(server.HasEntry("/empty"));
  EXPECT_FALSE(std::filesystem::exists(out));
  server.Stop();
  const ProgramResult unreachable = Run({"ls", "/"});
  EXPECT_EQ(unreachable.exitCode, 1);
  EXPECT_EQ(
      unreachable.err,
      "Error: Connection to Tarnwell Server failed. The Server could be down. Try Later...\n");
}

// The endpoint rule for the server text; the password from standard input when asked, else empty.
TEST_F(PenlarkCommandsTest, ServerTextAndPasswordComeFromTheirPlaces) {
  const std::string serverText = " http://" + server.ServerText() + "/ ";
  EXPECT_EQ(
      testing::RunProgram(PENLARK_PROGRAM,
                          {"ls", "--server", serverText, "--user", "ann", "--password-stdin", "/"},
                          "secret\r\nignored\n", {{"PENLARK_PASSWORD", "wrong"}})
          .exitCode,
      0);
  EXPECT_THAT(server.LastRequest(), HasSubstr(R"(password="secret")"));
  EXPECT_EQ(testing::RunProgram(PENLARK_PROGRAM,
                                {"ls", "--server", server.ServerText(), "--user", "ann", "/"}, {},
                                {{"PENLARK_PASSWORD", std::nullopt}})
                .exitCode,
            1);
  EXPECT_THAT(server.LastRequest(), HasSubstr(R"(password="")"));
}

TEST_F(PenlarkCommandsTest, BadArgumentsGiveStatusTwoAndUsageAndHelpStatusZero) {
  const std::pair<std::vector<std::string>, int> cases[] = {
      {{}, 2},
      {{"nosuchcommand"}, 2},
      {{"ls", "--server", "s", "/"}, 2},
      {{"ls", "--server", "s", "--user", "u"}, 2},
      {{"ls", "--server", "s", "--user", "u", "/", "extra"}, 2},
      {{"ls", "--server", "s", "--user", "u", "--password", "p", "/"}, 2},
      {{"ls", "/", "--server", "s", "--user", "u"}, 2},
      {{"rm", "--server", "s", "--user", "u", "/"}, 2},
      {{"settings", "extra"}, 2},
      {{"--help"}, 0},
      {{"-h"}, 0},
      {{"ls", "--help"}, 0},
#ifdef PENLARK_WITH_DESKTOP
      {{"open", "--help"}, 0},
      {{"demo", "--help"}, 0},
#endif
  };
  for (const auto& [args, status] : cases) {
    const ProgramResult result = testing::RunProgram(PENLARK_PROGRAM, args);
    EXPECT_EQ(result.exitCode, status) << ::testing::PrintToString(args);
    EXPECT_THAT(status == 0 ? result.out : result.err, HasSubstr("Usage: penlark"));
  }
  EXPECT_TRUE(server.Requests().empty());
}

// What put sends, get reads back: also groups nested 10,000 deep and names that are not ASCII.
TEST_F(PenlarkCommandsTest, PutThenGetGivesBackTheSameRtf) {
  server.AddFolder("/docs");
  for (const std::string& rtf : {std::string("{\\rtf1\\ansi Caf\\'e9\\par }"),
                                 std::string(10'000, '{') + "deep" + std::string(10'000, '}')}) {
    testing::WriteFile(dir / "in ü.rtf", rtf);
    EXPECT_EQ(Run({"put", "/docs", "Brief über.rtf", Utf8Text(dir / "in ü.rtf")}).exitCode, 0);
    EXPECT_THAT(server.Document("/docs/Brief über.rtf").value_or(""), HasSubstr("<Document>"));
    const ProgramResult got = Run({"get", "/docs", "Brief über.rtf", Utf8Text(dir / "out ü.rtf")});
    EXPECT_EQ(got.exitCode, 0);
    EXPECT_EQ(got.err, "");
    EXPECT_TRUE(testing::SameBytes(testing::ReadFile(dir / "out ü.rtf").value_or(""), rtf));
  }
}

}  // namespace
}  // namespace penlark

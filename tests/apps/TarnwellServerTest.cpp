#include "protocol/HttpExchange.h"
#include "protocol/SoapEnvelope.h"
#include "protocol/TarnwellRequests.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <csignal>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace penlark {
namespace {

using ::testing::HasSubstr;
using ::testing::MatchesRegex;

constexpr auto kStartTime = std::chrono::seconds(10);

soap::Reply ListRoot(const std::string& serverText, const std::string& password) {
  const HttpResult http =
      PostSoapMessage("http://" + serverText + "/servlet/XMLSOAPRouter", soap::kSoapAction,
                      soap::BuildRequestEnvelope(requests::GetFiles("/", "ann", password), ""), {});
  return soap::ReadReply(http.body);
}

class TarnwellServerTest : public ::testing::Test {
 protected:
  testing::TempDir root;

  std::vector<std::string> Args(std::vector<std::string> more) {
    std::vector<std::string> args{"--root", root.Path().string(), "--port", "0"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
  }
};

TEST_F(TarnwellServerTest, PrintsItsAddressServesAndStopsOnSigterm) {
  std::filesystem::create_directory(root / "reports");
  testing::ChildProcess server(TARNWELL_SERVER_PROGRAM, Args({"--user", "ann:secret"}));
  const auto address = server.ReadLine(kStartTime);
  ASSERT_TRUE(address);
  EXPECT_THAT(*address, MatchesRegex(R"(127\.0\.0\.1:[0-9]+)"));

  EXPECT_EQ(ListRoot(*address, "secret").result,
            R"(<files><file name="reports" type="1" access="3"/></files>)");
  EXPECT_EQ(ListRoot(*address, "wrong").fault,
            "Login failed: unknown user name or wrong password.");

  server.Signal(SIGTERM);
  const auto finished = server.Finish();
  EXPECT_EQ(finished.exitCode, 0);
  EXPECT_THAT(finished.err, HasSubstr("warning: --user is for tests"));
}

TEST_F(TarnwellServerTest, StopsOnSigint) {
  testing::ChildProcess server(TARNWELL_SERVER_PROGRAM, Args({"--user", "ann:secret"}));
  ASSERT_TRUE(server.ReadLine(kStartTime));
  server.Signal(SIGINT);
  EXPECT_EQ(server.Finish().exitCode, 0);
}

TEST_F(TarnwellServerTest, ReadsUsersFromAFile) {
  const testing::TempDir other;
  testing::WriteFile(other / "users", "# test users\nann:from file\n");
  testing::ChildProcess server(TARNWELL_SERVER_PROGRAM,
                               Args({"--users", (other / "users").string()}));
  const auto address = server.ReadLine(kStartTime);
  ASSERT_TRUE(address);
  EXPECT_EQ(ListRoot(*address, "from file").result, "<files/>");
}

TEST_F(TarnwellServerTest, MisbehavesOnRequest) {
  testing::ChildProcess faulty(TARNWELL_SERVER_PROGRAM,
                               Args({"--user", "ann:secret", "--fault", "injected"}));
  const auto faultyAddress = faulty.ReadLine(kStartTime);
  ASSERT_TRUE(faultyAddress);
  EXPECT_EQ(ListRoot(*faultyAddress, "secret").fault, "injected");

  testing::ChildProcess garbled(TARNWELL_SERVER_PROGRAM,
                                Args({"--user", "ann:secret", "--not-xml"}));
  const auto garbledAddress = garbled.ReadLine(kStartTime);
  ASSERT_TRUE(garbledAddress);
  EXPECT_FALSE(ListRoot(*garbledAddress, "secret").wellFormed);
}

TEST_F(TarnwellServerTest, RefusesBadArguments) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--port", "0", "--user", "ann:x"},
           {"--root", "."},
           {"--root", ".", "--user", "nocolon"},
           {"--root", ".", "--user", "ann:"},
           {"--root", ".", "--user", "ann:x", "--port", "70000"},
           {"--root", ".", "--user", "ann:x", "--bogus"},
       }) {
    const auto result = testing::RunProgram(TARNWELL_SERVER_PROGRAM, args);
    EXPECT_EQ(result.exitCode, 2) << ::testing::PrintToString(args);
    EXPECT_THAT(result.err, HasSubstr("Usage: tarnwell-server"));
  }
  const auto missingRoot = testing::RunProgram(
      TARNWELL_SERVER_PROGRAM, {"--root", (root / "missing").string(), "--user", "ann:x"});
  EXPECT_EQ(missingRoot.exitCode, 1);
}

}  // namespace
}  // namespace penlark

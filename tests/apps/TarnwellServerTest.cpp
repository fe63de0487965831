#include "protocol/HttpExchange.h"
#include "protocol/SoapEnvelope.h"
#include "protocol/TarnwellRequests.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <csignal>
#include <future>
#include <list>
#include <thread>

#ifdef _WIN32
#include <winsock2.h>
#else
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace penlark {
namespace {

using ::testing::HasSubstr;

#ifdef _WIN32
constexpr int kNoSignal = 0;
#else
constexpr int kNoSignal = MSG_NOSIGNAL;
int closesocket(int socket) {
  return ::close(socket);
}
#endif

soap::Reply ListRoot(const std::string& serverText, const std::string& password) {
  const HttpResult http =
      PostSoapMessage("http://" + serverText + "/servlet/XMLSOAPRouter", soap::kSoapAction,
                      soap::BuildRequestEnvelope(requests::GetFiles("/", "ann", password), ""), {});
  return soap::ReadReply(http.body);
}

// Sends a request head one byte per 250 ms until cut off or 160 bytes (40 s) are sent; the count.
int TrickleRequestHead(const std::string& address) {
#ifdef _WIN32
  WSADATA data;
  ::WSAStartup(MAKEWORD(2, 2), &data);
#endif
  const auto client = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in server{};
  server.sin_family = AF_INET;
  server.sin_port = htons(static_cast<std::uint16_t>(std::stoi(address.substr(10))));
  server.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const std::string head =
      "POST /servlet/XMLSOAPRouter HTTP/1.1\r\nX-Padding: " + std::string(160, 'p');
  int sent = 0;
  if (::connect(client, reinterpret_cast<sockaddr*>(&server), sizeof server) == 0) {
    while (sent < 160 && ::send(client, &head[static_cast<std::size_t>(sent)], 1, kNoSignal) == 1) {
      ++sent;
      std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
  }
  closesocket(client);
  return sent;
}

class TarnwellServerTest : public ::testing::Test {
 protected:
  // Starts a server on the root with these options; the address it prints.
  std::string Start(std::vector<std::string> options) {
    options.insert(options.begin(), {"--root", root.Path().string(), "--port", "0"});
    const auto address =
        servers.emplace_back(TARNWELL_SERVER_PROGRAM, options).ReadLine(std::chrono::seconds(10));
    EXPECT_TRUE(address);
    return address.value_or("");
  }

  testing::TempDir root;
  std::list<testing::ChildProcess> servers;
};

TEST_F(TarnwellServerTest, PrintsItsAddressServesAndStopsOnSignals) {
  std::filesystem::create_directory(root / "reports");
  const std::string address = Start({"--user", "ann:secret"});
  // The address and a port number (Windows' GoogleTest has only simple regular expressions).
  EXPECT_THAT(address, ::testing::StartsWith("127.0.0.1:"));
  EXPECT_EQ(address.find_first_not_of("0123456789", 10), std::string::npos);
  EXPECT_EQ(ListRoot(address, "secret").result,
            R"(<files><file name="reports" type="1" access="3"/></files>)");

  // A client still sending its request does not keep the server from ending.
  std::future<int> trickling = std::async(std::launch::async, TrickleRequestHead, address);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  servers.back().Signal(SIGTERM);
  const auto finished = servers.back().Finish();
  EXPECT_EQ(finished.exitCode, 0);
  EXPECT_THAT(finished.err, HasSubstr("warning: --user is for tests"));
  EXPECT_LT(trickling.get(), 160);

  Start({"--user", "ann:secret"});
  servers.back().Signal(SIGINT);
  EXPECT_EQ(servers.back().Finish().exitCode, 0);
}

TEST_F(TarnwellServerTest, ReadsUsersFromAFileAndMisbehavesOnRequest) {
  const testing::TempDir other;
  testing::WriteFile(other / "usërs", "# test users\nann:from file\n");
  EXPECT_EQ(ListRoot(Start({"--users", Utf8Text(other / "usërs")}), "from file").result,
            "<files/>");
  EXPECT_EQ(ListRoot(Start({"--user", "ann:secret", "--fault", "injected"}), "secret").fault,
            "injected");
  EXPECT_FALSE(ListRoot(Start({"--user", "ann:secret", "--not-xml"}), "secret").wellFormed);
}

TEST_F(TarnwellServerTest, RefusesBadArguments) {
  const std::pair<std::vector<std::string>, int> cases[] = {
      {{"--port", "0", "--user", "ann:x"}, 2},
      {{"--root", "."}, 2},
      {{"--root", ".", "--user", "nocolon"}, 2},
      {{"--root", ".", "--user", "ann:"}, 2},
      {{"--root", ".", "--user", "ann:x", "--port", "70000"}, 2},
      {{"--root", ".", "--user", "ann:x", "--bogus"}, 2},
      {{"--root", (root / "missing").string(), "--user", "ann:x"}, 1},
  };
  for (const auto& [args, status] : cases) {
    const auto result = testing::RunProgram(TARNWELL_SERVER_PROGRAM, args);
    EXPECT_EQ(result.exitCode, status) << ::testing::PrintToString(args);
    EXPECT_THAT(result.err,
                HasSubstr(status == 2 ? "Usage: tarnwell-server" : "tarnwell-server: "));
  }
}

}  // namespace
}  // namespace penlark

#include "protocol/HttpExchange.h"
#include "protocol/SoapEnvelope.h"
#include "protocol/TarnwellRequests.h"
#include "server/DocumentStore.h"
#include "server/ReferenceServer.h"
#include "server/TarnwellService.h"
#include "support/TempDir.h"

#include <future>
#include <thread>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <gtest/gtest.h>
#include <httplib.h>

namespace penlark::server {
namespace {

namespace fs = std::filesystem;

std::string Wrapped(std::string_view request) {
  return soap::BuildRequestEnvelope(request, "");
}

std::string Files(std::string_view dir) {
  return Wrapped(requests::GetFiles(dir, "ann", "secret"));
}
std::string Content(std::string_view dir, std::string_view name) {
  return Wrapped(requests::GetContent(dir, name, 2, "ann", "secret"));
}
std::string Save(std::string_view dir, std::string_view name) {
  return Wrapped(requests::SaveFile(dir, name, "ann", "secret"));
}
std::string NewFolder(std::string_view dir, std::string_view name) {
  return Wrapped(requests::CreateFolder(dir, name, 1, "ann", "secret"));
}
std::string Delete(std::string_view dir, std::string_view name, std::int16_t type) {
  return Wrapped(requests::Delete(dir, name, type, "ann", "secret"));
}

// /docs/a.xml, /docs/inner, and links out of the root (Windows lets no user make them).
class TarnwellServiceTest : public ::testing::Test {
 protected:
  testing::TempDir top;
  const fs::path root = top / "root";
  const fs::path outside = top / "outside";
  std::optional<TarnwellService> service;

  void SetUp() override {
    fs::create_directories(root / "docs" / "inner");
    fs::create_directories(outside);
    testing::WriteFile(root / "docs" / "a.xml", "<a/>");
    testing::WriteFile(outside / "secret.xml", "<secret/>");
#ifndef _WIN32
    fs::create_directory_symlink(outside, root / "escape");
    fs::create_symlink(outside / "secret.xml", root / "secret.xml");
    // An unfinished write goes when the store starts; a user's name that looks like one stays.
    testing::WriteFile(root / "docs" / "a.xml\\partial-123", "<half");
    testing::WriteFile(root / "keep.xml.tmp-5", "");
#endif
    testing::WriteFile(top / "users", "# comment\r\nann:secret\r\n\nbob:t:wo\n");
    UserTable users;
    users.AddFromFile(top / "users");
    service.emplace(DocumentStore(root), std::move(users));
  }

  // The reply string to a request envelope, or the fault's text prefixed with "FAULT: ".
  std::string Call(const std::string& body, std::string_view client = {}) {
    const Answer answer = service->Handle(body, client);
    const soap::Reply reply = soap::ReadReply(answer.body);
    EXPECT_TRUE(reply.wellFormed);
    EXPECT_EQ(answer.status, reply.fault ? 500 : 200);
    return reply.fault ? "FAULT: " + *reply.fault : reply.result;
  }

  // A server of the root with small limits: 1 MB requests, 300 ms per request.
  std::optional<ReferenceServer> server;
  void StartServer() {
    ServerConfig config{.root = root,
                        .recordRequests = true,
                        .maxRequestBytes = std::size_t{1} << 20,
                        .requestDeadline = std::chrono::milliseconds(300)};
    config.users.Add("ann", "secret");
    server.emplace(std::move(config));
    server->Start();
  }

  static HttpResult Post(const ReferenceServer& to, std::string_view body) {
    return PostSoapMessage("http://" + to.ServerText() + std::string(kRouterPath),
                           soap::kSoapAction, body, {.stallTimeout = std::chrono::seconds(10)});
  }
};

TEST_F(TarnwellServiceTest, TheServerRecordsEachRequestAndRefusesOneBeyondTheLimit) {
  StartServer();
  EXPECT_EQ(Post(*server, "<unclosed").status, 500);
  const HttpResult result =
      Post(*server, soap::BuildRequestEnvelope(requests::SaveFile("/", "big.xml", "ann", "secret"),
                                               std::string(2 << 20, 'x')));
  EXPECT_EQ(result.status, 500);
  EXPECT_EQ(soap::ReadReply(result.body).fault,
            "The document is larger than the server accepts (1 MB).");
  EXPECT_FALSE(fs::exists(root / "big.xml"));
  const auto received = server->ReceivedRequests();
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].body, "<unclosed");
  EXPECT_EQ(received[0].request, "");
}

// With no deadline near, only the stop ends a delayed answer.
TEST_F(TarnwellServiceTest, StopCutsADelayedAnswerShortAndAPortInUseIsRefused) {
  ReferenceServer patient({.root = root, .recordRequests = true});
  patient.Start();
  ReferenceServer second({.root = root, .port = patient.Port()});
  EXPECT_THROW(second.Start(), std::runtime_error);
  patient.SetSwitches({.delay = std::chrono::hours(1)});
  auto pending = std::async(std::launch::async, [&] { return Post(patient, Files("/")); });
  while (patient.ReceivedRequests().empty() &&
         pending.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) {
  }
  patient.Stop();
  EXPECT_FALSE(pending.get().received);
  patient.Stop();  // a second stop is harmless
}

// A client that sends its request a byte at a time loses the connection at the deadline.
TEST_F(TarnwellServiceTest, ARequestPastItsDeadlineLosesItsConnection) {
  StartServer();
  httplib::Client client("127.0.0.1", server->Port());
  int sent = 0;
  client.Post(
      std::string(kRouterPath), 1000,
      [&sent](std::size_t, std::size_t, httplib::DataSink& sink) {
        if (sent == 100 || !sink.write("x", 1)) {
          return false;
        }
        ++sent;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return true;
      },
      "text/xml");
  EXPECT_LT(sent, 100);  // 100 bytes would have taken 5 s
}

// Windows can hold neither these names nor pipes, nor make links for every user.
#ifndef _WIN32
TEST_F(TarnwellServiceTest, ListsWhatCanBeServed) {
  for (const char* name :
       {"b.xml", "B.xml", "a & b.xml", "bad\x01name", "bad\xFFutf8", "half.xml\\partial-1"}) {
    testing::WriteFile(root / name, "");
  }
  fs::create_directory(root / "zeta");
  ASSERT_EQ(::mkfifo((root / "pipe").c_str(), 0600), 0);
  fs::create_symlink(root / "docs" / "a.xml", root / "alias.xml");
  EXPECT_EQ(
      Call(Files("/")),
      R"(<files><file name="docs" type="1" access="3"/><file name="zeta" type="1" access="3"/>)"
      R"(<file name="B.xml" type="2" access="3"/><file name="a &amp; b.xml" type="2" access="3"/>)"
      R"(<file name="alias.xml" type="2" access="3"/><file name="b.xml" type="2" access="3"/>)"
      R"(<file name="keep.xml.tmp-5" type="2" access="3"/></files>)");
  EXPECT_FALSE(fs::exists(root / "docs" / "a.xml\\partial-123"));
  for (const char* docs : {"/docs", "docs", "//docs//"}) {
    EXPECT_EQ(
        Call(Files(docs)),
        R"(<files><file name="inner" type="1" access="3"/><file name="a.xml" type="2" access="3"/></files>)");
  }
}
#endif

TEST_F(TarnwellServiceTest, RefusesInWordsForTheUser) {
#ifndef _WIN32
  fs::create_symlink(top / "nowhere", root / "dangling.xml");
#endif
  testing::WriteFile(root / "binary.xml", "a\x01z");
  const std::string envelope =
      R"(<e:Envelope xmlns:e="http://schemas.xmlsoap.org/soap/envelope/">)";
  const std::string method = R"(<e:Body><m:sendRequest xmlns:m="urn:xmladmin-request">)";
  const struct {
    std::string fault;
    std::vector<std::string> bodies;
  } cases[] = {
      {R"(There is no folder "/missing".)", {Files("/missing")}},
      {R"(There is no folder "/escape".)", {Files("/escape"), Save("/escape", "x.xml")}},
      {R"(There is no folder "/docs/a.xml".)", {Files("/docs/a.xml")}},
      {"The name is not allowed: it must be one folder or document name.",
       {Files("/.."), Files("/./docs"), Save("/docs\\..", "x.xml"), Save("/", ""), Save("/", "."),
        Content("/docs", ".."), NewFolder("/", "a/b"), Content("/", "..\\x"),
        Save("/", "tab\there")}},
#ifndef _WIN32  // links: see the fixture
      {R"("secret.xml" leads outside the server's folders.)",
       {Content("/", "secret.xml"), Save("/", "secret.xml"), Delete("/", "secret.xml", 2)}},
      {R"("dangling.xml" leads outside the server's folders.)", {Save("/", "dangling.xml")}},
#endif
      {R"(There is no document "docs" in "/".)", {Content("/", "docs")}},
      {R"(There is no document "missing.xml" in "/docs".)", {Content("/docs", "missing.xml")}},
      {R"("docs" is a folder.)", {Save("/", "docs"), Delete("/", "docs", 2)}},
      {R"(An entry named "inner" already exists in "/docs".)", {NewFolder("/docs", "inner")}},
      {R"(The folder "docs" is not empty.)", {Delete("/", "docs", 1)}},
      {R"("a.xml" is not a folder.)", {Delete("/docs", "a.xml", 1)}},
      {R"(There is no entry "missing" in "/docs".)", {Delete("/docs", "missing", 2)}},
      {"The document holds characters that cannot be sent.", {Content("/", "binary.xml")}},
      {"The request is not an XML element.",
       {Wrapped("not xml"), Wrapped(R"(<getFiles dir="/" username="ann" password="secret")")}},
      {"Unknown request: format.",
       {Wrapped(R"(<format dir="/" username="ann" password="secret"/>)")}},
      {"The request has no password attribute.",
       {Wrapped(R"(<getFiles dir="/" username="ann"/>)")}},
      {"The request has no name attribute.",
       {Wrapped(R"(<getContent dir="/" username="ann" password="secret"/>)")}},
      {"The request is not a sendRequest envelope.",
       {"", envelope + "</e:Envelope>", envelope + "<e:Body/></e:Envelope>",
        envelope + R"(<e:Body><m:sendRequest xmlns:m="urn:other"/></e:Body></e:Envelope>)",
        R"(<!DOCTYPE e [<!ENTITY x "y">]>)" + envelope + "</e:Envelope>",
        R"(<Envelope xmlns="urn:wrong"><Body/></Envelope>)"}},
      {"The request envelope has no ns1 parameter.",
       {envelope + method + "<ns2>doc</ns2></m:sendRequest></e:Body></e:Envelope>"}},
      // Last, as failed logins make ann wait.
      {"Login failed: unknown user name or wrong password.",
       {Wrapped(requests::SaveFile("/", "x.xml", "bob", "secret")),
        Wrapped(requests::GetFiles("/", "Ann", "secret")),
        Wrapped(requests::GetFiles("/", "ann", "secret ")),
        Wrapped(requests::GetFiles("/", "ann", "wrong"))}},
  };
  for (const auto& row : cases) {
    for (const std::string& body : row.bodies) {
      EXPECT_EQ(Call(body), "FAULT: " + row.fault) << body.substr(0, 200);
    }
  }
  EXPECT_EQ(testing::ReadFile(outside / "secret.xml"), "<secret/>");
  EXPECT_EQ(testing::ReadFile(root / "docs" / "a.xml"), "<a/>");
  for (const fs::path& path : {outside / "x.xml", top / "x.xml", top / "nowhere", root / "x.xml"}) {
    EXPECT_FALSE(fs::exists(path)) << path;
  }
}

TEST_F(TarnwellServiceTest, RepeatedFailedLoginsMakeThatClientWait) {
  const auto call = [&](std::string_view client, std::string_view user, std::string_view password) {
    return Call(Wrapped(requests::GetFiles("/docs/inner", user, password)), client) == "<files/>";
  };
  const struct {
    std::string_view client, user, password;
    bool accepted;
  } steps[] = {
      {"10.0.0.1", "ann", "wrong", false},
      {"10.0.0.1", "ann", "secret", true},  // one failure costs nothing
      {"10.0.0.1", "ann", "wrong", false},
      {"10.0.0.1", "ann", "wrong", false},
      {"10.0.0.1", "ann", "secret", false},  // refused unchecked
      {"10.0.0.2", "ann", "secret", true},
      {"10.0.0.1", "bob", "t:wo", true},  // split at the first colon
      {"10.0.0.1", "# comment", "", false},
  };
  for (const auto& step : steps) {
    EXPECT_EQ(call(step.client, step.user, step.password), step.accepted)
        << step.client << " " << step.user << " " << step.password;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  EXPECT_TRUE(call("10.0.0.1", "ann", "secret"));
}

// A save without a document stores an empty one.
TEST_F(TarnwellServiceTest, AcceptsAHeaderAnotherEncodingAndNoDocument) {
  EXPECT_EQ(Call(Save("/docs", "a.xml")), "<ok/>");
  EXPECT_EQ(Call(Content("/docs", "a.xml")), "");
#ifndef _WIN32
  EXPECT_EQ(fs::status(root / "docs" / "a.xml").permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                fs::perms::others_read);
#endif
  const std::string body =
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
      R"(<e:Envelope xmlns:e="http://schemas.xmlsoap.org/soap/envelope/"> <e:Header/>)"
      "\n<e:Body><m:sendRequest xmlns:m=\"urn:xmladmin-request\"><ns1>"
      "&lt;saveFile dir=\"/\" name=\"caf\xE9.xml\" type=\"2\" username=\"ann\" "
      "password=\"secret\" version=\"2.0\" /&gt;</ns1><ns2>\xE9</ns2></m:sendRequest></e:Body>"
      "</e:Envelope>";
  EXPECT_EQ(Call(body), "<ok/>");
  EXPECT_EQ(testing::ReadFile(root / Utf8Path("caf\u00E9.xml")), "\u00E9");
}

TEST_F(TarnwellServiceTest, UserFilesRefuseLinesWithoutANameAndAPassword) {
  UserTable users;
  for (const char* bad : {"ann:", "nocolon", ":pw"}) {
    testing::WriteFile(top / "bad", std::string("ann:one\n") + bad + "\n");
    EXPECT_THROW(users.AddFromFile(top / "bad"), std::runtime_error) << bad;
  }
  EXPECT_THROW(users.AddFromFile(top / "missing"), std::runtime_error);
}

// Names that Windows cannot hold as files are refused there, kept like any other elsewhere.
TEST_F(TarnwellServiceTest, NamesTheSystemCannotHoldAreRefusedThere) {
  for (const std::string name : {"a<b>.xml", "\"q\".xml", "a:b", "a|b", "a?b", "a*b", "trailing.",
                                 "trailing ", "con", "Nul.xml", "com1.rtf", "LPT9"}) {
#ifdef _WIN32
    const std::string refusal =
        "FAULT: The name \"" + name + "\" is not allowed: the server's system cannot hold it.";
    EXPECT_EQ(Call(Save("/", name)), refusal);
    EXPECT_EQ(Call(NewFolder("/", name)), refusal);
    EXPECT_EQ(Call(Files("/" + name)), refusal);
#else
    EXPECT_EQ(Call(Save("/", name)), "<ok/>");
    EXPECT_EQ(Call(Content("/", name)), "");
#endif
  }
}

}  // namespace
}  // namespace penlark::server

#include "protocol/SoapEnvelope.h"
#include "protocol/TarnwellRequests.h"
#include "server/TarnwellService.h"
#include "support/TempDir.h"

#include <thread>

#include <gtest/gtest.h>

namespace penlark::server {
namespace {

namespace fs = std::filesystem;

std::string ManyAttributes(int count) {
  std::string attributes;
  for (int i = 0; i < count; ++i) {
    attributes += " a" + std::to_string(i) + "=''";
  }
  return attributes;
}

class TarnwellServiceTest : public ::testing::Test {
 protected:
  testing::TempDir root;
  std::optional<TarnwellService> service;

  void SetUp() override {
    UserTable users;
    users.Add("ann", "secret");
    service.emplace(DocumentStore(root.Path()), std::move(users));
  }

  // The reply string of a request, or the fault's text prefixed with "FAULT: ".
  std::string Call(std::string_view request, std::string_view content = {}) {
    return Read(service->Handle(soap::BuildRequestEnvelope(request, content)));
  }

  static std::string Read(const Answer& answer) {
    const soap::Reply reply = soap::ReadReply(answer.body);
    EXPECT_TRUE(reply.wellFormed);
    if (reply.fault) {
      EXPECT_EQ(answer.status, 500);
      return "FAULT: " + *reply.fault;
    }
    EXPECT_EQ(answer.status, 200);
    return reply.result;
  }
};

TEST_F(TarnwellServiceTest, ListsAFolder) {
  fs::create_directory(root / "reports");
  testing::WriteFile(root / "a & b.xml", "");
  EXPECT_EQ(Call(requests::GetFiles("/", "ann", "secret")),
            R"(<files><file name="reports" type="1" access="3"/>)"
            R"(<file name="a &amp; b.xml" type="2" access="3"/></files>)");
  EXPECT_EQ(Call(requests::GetFiles("/reports", "ann", "secret")), "<files/>");
}

TEST_F(TarnwellServiceTest, StoresFetchesCreatesAndDeletes) {
  EXPECT_EQ(Call(requests::CreateFolder("/", "f", 1, "ann", "secret")), "<ok/>");
  EXPECT_EQ(Call(requests::SaveFile("/f", "d.xml", "ann", "secret"), "<d>\r\n</d>"), "<ok/>");
  EXPECT_EQ(Call(requests::GetContent("/f", "d.xml", 2, "ann", "secret")), "<d>\r\n</d>");
  EXPECT_EQ(Call(requests::Delete("/f", "d.xml", 2, "ann", "secret")), "<ok/>");
  EXPECT_EQ(Call(requests::Delete("/", "f", 1, "ann", "secret")), "<ok/>");
  EXPECT_TRUE(fs::is_empty(root.Path()));
}

TEST_F(TarnwellServiceTest, SaveWithoutDocumentStoresAnEmptyOne) {
  EXPECT_EQ(Call(requests::SaveFile("/", "empty.xml", "ann", "secret")), "<ok/>");
  EXPECT_EQ(testing::ReadFile(root / "empty.xml"), "");
}

TEST_F(TarnwellServiceTest, RefusesWrongCredentials) {
  const std::string refused = "FAULT: Login failed: unknown user name or wrong password.";
  EXPECT_EQ(Call(requests::GetFiles("/", "ann", "wrong")), refused);
  EXPECT_EQ(Call(requests::GetFiles("/", "ann", "secret ")), refused);
  EXPECT_EQ(Call(requests::GetFiles("/", "Ann", "secret")), refused);
  EXPECT_EQ(Call(requests::SaveFile("/", "x.xml", "bob", "secret"), "<x/>"), refused);
  EXPECT_FALSE(fs::exists(root / "x.xml"));
}

// From the second failure on, a user's logins from one client are refused unchecked for a
// while; other clients and users go on as before.
TEST_F(TarnwellServiceTest, RepeatedFailedLoginsMakeThatClientWait) {
  const auto call = [&](std::string_view client, std::string_view user, std::string_view password) {
    const std::string body =
        soap::BuildRequestEnvelope(requests::GetFiles("/", user, password), "");
    return Read(service->Handle(body, client)) == "<files/>";
  };
  struct Step {
    std::string_view client, user, password;
    bool accepted;
  };
  for (const Step& step : std::vector<Step>{
           {"10.0.0.1", "ann", "wrong", false},
           {"10.0.0.1", "ann", "secret", true},  // one failure costs nothing
           {"10.0.0.1", "ann", "wrong", false},
           {"10.0.0.1", "ann", "wrong", false},
           {"10.0.0.1", "ann", "secret", false},  // refused unchecked
           {"10.0.0.2", "ann", "secret", true},
           {"10.0.0.1", "bob", "x", false},
       }) {
    EXPECT_EQ(call(step.client, step.user, step.password), step.accepted)
        << step.client << " " << step.user << " " << step.password;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  EXPECT_TRUE(call("10.0.0.1", "ann", "secret"));
}

TEST_F(TarnwellServiceTest, RefusesRequestsItDoesNotUnderstand) {
  EXPECT_EQ(Call("not xml"), "FAULT: The request is not an XML element.");
  EXPECT_EQ(Call(R"(<format dir="/" username="ann" password="secret"/>)"),
            "FAULT: Unknown request: format.");
  EXPECT_EQ(Call(R"(<getFiles dir="/" username="ann"/>)"),
            "FAULT: The request has no password attribute.");
  EXPECT_EQ(Call(R"(<getContent dir="/" username="ann" password="secret"/>)"),
            "FAULT: The request has no name attribute.");
  EXPECT_EQ(Call(R"(<getFiles dir="/" username="ann" password="secret")"),
            "FAULT: The request is not an XML element.");
  EXPECT_EQ(Call("<getFiles" + ManyAttributes(50'000) + "/>"),
            "FAULT: The request is not an XML element.");
}

TEST_F(TarnwellServiceTest, AnswersMalformedEnvelopesWithFaults) {
  const std::string notAnEnvelope = "FAULT: The request is not a sendRequest envelope.";
  const std::string envelopeStart =
      R"(<e:Envelope xmlns:e="http://schemas.xmlsoap.org/soap/envelope/">)";
  for (const std::string& body : {
           std::string(),
           std::string("garbage"),
           std::string("<a/>"),
           envelopeStart + "</e:Envelope>",
           envelopeStart + "<e:Body/></e:Envelope>",
           envelopeStart + R"(<e:Body><m:sendRequest xmlns:m="urn:other"/></e:Body></e:Envelope>)",
           envelopeStart + "<e:Body><sendRequest><ns1>x</ns1></sendRequest></e:Body>",
           R"(<!DOCTYPE e [<!ENTITY x "y">]>)" + envelopeStart + "</e:Envelope>",
           std::string(R"(<Envelope xmlns="urn:wrong"><Body/></Envelope>)"),
           envelopeStart + "<e:Body" + ManyAttributes(50'000) + "/></e:Envelope>",
       }) {
    SCOPED_TRACE(body);
    EXPECT_EQ(Read(service->Handle(body)), notAnEnvelope);
  }
  EXPECT_EQ(Read(service->Handle(envelopeStart +
                                 R"(<e:Body><m:sendRequest xmlns:m="urn:xmladmin-request">)"
                                 "<ns2>doc</ns2></m:sendRequest></e:Body></e:Envelope>")),
            "FAULT: The request envelope has no ns1 parameter.");
}

TEST_F(TarnwellServiceTest, AcceptsAHeaderAndAnotherEncoding) {
  const std::string body =
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
      R"(<e:Envelope xmlns:e="http://schemas.xmlsoap.org/soap/envelope/"><e:Header/>)"
      R"(<e:Body><m:sendRequest xmlns:m="urn:xmladmin-request"><ns1>)"
      "&lt;saveFile dir=\"/\" name=\"caf\xE9.xml\" type=\"2\" username=\"ann\" "
      "password=\"secret\" version=\"2.0\" /&gt;</ns1><ns2>\xE9</ns2></m:sendRequest></e:Body>"
      "</e:Envelope>";
  EXPECT_EQ(Read(service->Handle(body)), "<ok/>");
  EXPECT_EQ(testing::ReadFile(root / "caf\u00E9.xml"), "\u00E9");
}

TEST_F(TarnwellServiceTest, RefusesToSendDocumentsThatAreNotXmlText) {
  testing::WriteFile(root / "binary.xml", "a\x01z");
  testing::WriteFile(root / "latin1.xml", "caf\xE9");
  EXPECT_EQ(Call(requests::GetContent("/", "binary.xml", 2, "ann", "secret")),
            "FAULT: The document holds characters that cannot be sent.");
  EXPECT_EQ(Call(requests::GetContent("/", "latin1.xml", 2, "ann", "secret")),
            "FAULT: The document holds characters that cannot be sent.");
}

TEST(UserTable, SplitsNameAndPasswordAtTheFirstColon) {
  EXPECT_EQ(UserTable::ParseUser("ann:pa:ss"),
            (std::pair<std::string, std::string>{"ann", "pa:ss"}));
  EXPECT_EQ(UserTable::ParseUser("ann:"), std::nullopt);
  EXPECT_EQ(UserTable::ParseUser("ann"), std::nullopt);
  EXPECT_EQ(UserTable::ParseUser(":pw"), std::nullopt);
}

TEST(UserTable, ReadsAUsersFile) {
  testing::TempDir dir;
  testing::WriteFile(dir / "users", "# comment\r\nann:one\r\n\nbob:t:wo\n");
  UserTable users;
  users.AddFromFile(dir / "users");
  EXPECT_TRUE(users.Accepts("ann", "one"));
  EXPECT_TRUE(users.Accepts("bob", "t:wo"));
  EXPECT_FALSE(users.Accepts("# comment", ""));

  testing::WriteFile(dir / "bad", "ann:one\nnocolon\n");
  EXPECT_THROW(users.AddFromFile(dir / "bad"), std::runtime_error);
  EXPECT_THROW(users.AddFromFile(dir / "missing"), std::runtime_error);
}

}  // namespace
}  // namespace penlark::server

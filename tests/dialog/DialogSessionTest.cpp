#include "DialogSessionTest.h"

namespace penlark::testing {

void DialogSessionTest::AddRtfDocument(std::string_view serverPath, std::string_view rtf) {
  server.AddDocument(serverPath, bed.XmlOf(rtf));
}

UserAction DialogSessionTest::LoginAsAnn(bool savePassword) {
  return Login(server.ServerText(), "ann", "secret", savePassword);
}

OpenDialog& DialogSessionTest::LoggedInDialog() {
  OpenDialog& dialog = bed.Dialog();
  LoginAsAnn(true)(dialog);
  return dialog;
}

std::vector<std::string> DialogSessionTest::RequestsSeen() const {
  std::vector<std::string> requests;
  for (const auto& received : server.Requests()) {
    requests.push_back(received.request);
  }
  return requests;
}

}  // namespace penlark::testing

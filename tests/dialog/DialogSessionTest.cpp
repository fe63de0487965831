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

FakeMachine::FakeMachine() {
  const std::string xml = bed.XmlOf(kReportRtf);
  server.Add("/", "docs", kFolderType);
  server.Add("/", "empty", kFolderType);
  server.Add("/", "report.rtf", kDocumentType, xml);
  server.Add("/docs", "2004", kFolderType);
  for (const char* name : {"notes.rtf", "report.rtf"}) {
    server.Add("/docs", name, kDocumentType, xml);
  }
  for (const char* name : {"april.rtf", "march.rtf"}) {
    server.Add("/docs/2004", name, kDocumentType, xml);
  }
}

OpenDialog& FakeMachine::LoggedIn() {
  OpenDialog& dialog = bed.Dialog();
  Login("tarn", "ann", "secret", true)(dialog);
  return dialog;
}

OpenDialog& FakeMachine::InDocs(const char* mode) {
  OpenDialog& dialog = LoggedIn();
  dialog.OpenButton.Caption = mode;
  DoubleClickItem("docs")(dialog);
  server.asked.clear();
  return dialog;
}

}  // namespace penlark::testing

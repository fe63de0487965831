#include "DialogSessionTest.h"

#include "conversion/Transform.h"

namespace penlark::testing {

std::string DialogSessionTest::XmlOf(std::string_view rtf) {
  const auto path = bed.temp / "source.rtf";
  WriteFile(path, rtf);
  return RtfFileToXml(path.string());
}

void DialogSessionTest::AddRtfDocument(std::string_view serverPath, std::string_view rtf) {
  server.AddDocument(serverPath, XmlOf(rtf));
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

std::vector<std::string> DialogSessionTest::ListItemTexts() {
  std::vector<std::string> texts;
  for (const ListItem& item : bed.Dialog().ListView.Items) {
    texts.push_back(item.Text);
  }
  return texts;
}

}  // namespace penlark::testing

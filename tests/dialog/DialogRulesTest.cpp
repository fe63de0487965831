#include "DialogRulesTest.h"

namespace penlark::testing {

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

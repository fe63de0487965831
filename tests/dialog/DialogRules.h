#pragma once

#include "dialog/OpenDialog.h"
#include "support/dialog/DialogTestBed.h"
#include "support/dialog/FakeServer.h"

#include <string_view>

#include <gtest/gtest.h>

namespace penlark::testing {

// A dialog on a test machine whose server is held in memory. The server holds /docs (2004 with
// april.rtf and march.rtf, notes.rtf, report.rtf), /empty and /report.rtf; every document is
// kReportRtf in the server's XML form.
struct FakeMachine {
  static constexpr std::string_view kReportRtf =
      "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Report\\par }";

  FakeMachine() {
    const std::string xml = bed.XmlOf(kReportRtf);
    server.entries = {{"/", "docs", kFolderType, ""},
                      {"/", "empty", kFolderType, ""},
                      {"/", "report.rtf", kDocumentType, xml},
                      {"/docs", "2004", kFolderType, ""},
                      {"/docs", "notes.rtf", kDocumentType, xml},
                      {"/docs", "report.rtf", kDocumentType, xml},
                      {"/docs/2004", "april.rtf", kDocumentType, xml},
                      {"/docs/2004", "march.rtf", kDocumentType, xml}};
  }

  // Loads the dialog and logs in to tarn as ann, saving the password.
  OpenDialog& LoggedIn() {
    OpenDialog& dialog = bed.Dialog();
    Login("tarn", "ann", "secret", true)(dialog);
    return dialog;
  }
  // Logged in, in `mode`, on the listing of /docs, with the server's log emptied.
  OpenDialog& InDocs(const char* mode = kOpenMode) {
    OpenDialog& dialog = LoggedIn();
    dialog.OpenButton.Caption = mode;
    DoubleClickItem("docs")(dialog);
    server.asked.clear();
    return dialog;
  }

  FakeServer server;
  DialogTestBed bed{server.Clients()};
};

class DialogRulesTest : public ::testing::Test, public FakeMachine {};

}  // namespace penlark::testing

#pragma once

#include "dialog/OpenDialog.h"
#include "support/dialog/DialogTestBed.h"
#include "support/dialog/FakeServer.h"

#include <gtest/gtest.h>

namespace penlark::testing {

// A dialog on a test machine whose server is held in memory. The server holds /docs (2004 with
// april.rtf and march.rtf, notes.rtf, report.rtf), /empty and /report.rtf.
struct FakeMachine {
  FakeMachine() {
    const std::string xml = bed.XmlOf("{\\rtf1 Report}");
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

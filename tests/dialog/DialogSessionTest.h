#pragma once

#include "dialog/OpenDialog.h"
#include "support/TestServer.h"
#include "support/dialog/DialogTestBed.h"
#include "support/dialog/FakeServer.h"

#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace penlark::testing {

// A dialog on a test machine, with a reference server on a loopback port that knows the user
// "ann" with the password "secret".
class DialogSessionTest : public ::testing::Test {
 protected:
  // Seeds a document on the server from an RTF text.
  void AddRtfDocument(std::string_view serverPath, std::string_view rtf);

  // The script step that logs in as ann, with or without saving the password.
  UserAction LoginAsAnn(bool savePassword = false);
  // Loads the dialog and logs in right away, outside a modal showing, saving the password so
  // that dialogs loaded later log in by themselves.
  OpenDialog& LoggedInDialog();

  // The request elements the server received, oldest first.
  std::vector<std::string> RequestsSeen() const;

  DialogTestBed bed;
  TestServer server;
};

// A dialog on a test machine whose server is held in memory. The server holds /docs (2004 with
// april.rtf and march.rtf, notes.rtf, report.rtf), /empty and /report.rtf; every document is
// kReportRtf in the server's XML form.
struct FakeMachine {
  static constexpr std::string_view kReportRtf =
      "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Report\\par }";

  FakeMachine();

  // Loads the dialog and logs in to tarn as ann, saving the password.
  OpenDialog& LoggedIn();
  // Logged in, in `mode`, on the listing of /docs, with the server's log emptied.
  OpenDialog& InDocs(const char* mode = kOpenMode);

  FakeServer server;
  DialogTestBed bed{server.Clients()};
};

class DialogRulesTest : public ::testing::Test, public FakeMachine {};

}  // namespace penlark::testing

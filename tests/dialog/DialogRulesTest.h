#pragma once

#include "dialog/OpenDialog.h"
#include "support/dialog/DialogTestBed.h"
#include "support/dialog/FakeServer.h"

#include <string_view>

#include <gtest/gtest.h>

namespace penlark::testing {

inline constexpr std::string_view kReportRtf =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Report\\par }";

// A dialog on a test machine whose server is held in memory. The server holds /docs (2004 with
// april.rtf and march.rtf, notes.rtf, report.rtf), /empty and /report.rtf; every document is
// kReportRtf in the server's XML form.
struct FakeMachine {
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

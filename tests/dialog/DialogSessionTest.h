#pragma once

#include "support/TestServer.h"
#include "support/dialog/DialogTestBed.h"

#include <string>
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

}  // namespace penlark::testing

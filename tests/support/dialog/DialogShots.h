#pragma once

#include "conversion/Transform.h"
#include "dialog/OpenDialog.h"
#include "support/TestServer.h"
#include "support/dialog/DialogTestBed.h"

#include <functional>
#include <string>

namespace penlark::testing {

// Each tab in Open and in Save mode: `show` puts the window up, `shoot` takes a named picture.
inline bool ShootDialogTabs(DialogTestBed& bed, const std::function<void()>& show,
                            const std::function<bool(const std::string&)>& shoot) {
  TestServer server;
  for (const char* name : {"/Archive", "/Letters", "/Minutes", "/Reports"}) {
    server.AddFolder(name);
  }
  for (const char* name : {"/Budget 2027.rtf", "/Quarterly report.rtf", "/Welcome.rtf"}) {
    server.AddDocument(name, RtfToXml("{\\rtf1 A document}"));
  }
  bool taken = true;
  for (const bool saveMode : {false, true}) {
    OpenDialog& dialog = bed.Dialog();
    dialog.Caption = saveMode ? "Tarnwell SaveAs..." : "Tarnwell Open";
    dialog.OpenButton.Caption = saveMode ? kSaveMode : kOpenMode;
    dialog.UrlDomainCombo.Text = server.ServerText();
    dialog.UsernameText.Text = "ann";
    dialog.PasswordText.Text = "secret";
    show();
    const std::string mode = saveMode ? "save" : "open";
    taken = shoot(mode + "-connection") && taken;
    dialog.LogInButton_Click();
    if (saveMode) {
      dialog.FilenameText.Text = "Letter to the board.rtf";
      dialog.menuReport_Click();
    }
    dialog.ReloadImage_MouseMove(0, 0, 100, 100);
    taken = shoot(mode + "-file") && taken;
    dialog.Cancel_Click();
  }
  return taken;
}

}  // namespace penlark::testing

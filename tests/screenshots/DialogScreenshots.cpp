// Draws the dialog on each tab, in Open and in Save mode, into PNG files for a person to look
// at: penlark_dialog_screenshots OUTPUT_FOLDER (scripts/screenshots runs it under Xvfb).

#include "conversion/Transform.h"
#include "dialog/OpenDialog.h"
#include "dialog/qt/QtDialogView.h"
#include "support/TestServer.h"
#include "support/dialog/DialogTestBed.h"

#include <iostream>
#include <string>

#include <QApplication>
#include <QWidget>

namespace {

using penlark::OpenDialog;

void Seed(const penlark::testing::TestServer& server) {
  const std::string document = penlark::RtfToXml("{\\rtf1 A document}");
  for (const char* folder : {"/Archive", "/Letters", "/Minutes", "/Reports"}) {
    server.AddFolder(folder);
  }
  for (const char* name : {"/Budget 2027.rtf", "/Quarterly report.rtf", "/Welcome.rtf"}) {
    server.AddDocument(name, document);
  }
}

bool Save(QWidget& window, const std::string& folder, const std::string& name) {
  const std::string path = folder + "/" + name + ".png";
  const bool saved = window.grab().save(QString::fromStdString(path));
  std::cout << (saved ? "wrote " : "could not write ") << path << '\n';
  return saved;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  if (argc != 2) {
    std::cerr << "Usage: penlark_dialog_screenshots OUTPUT_FOLDER\n";
    return 2;
  }
  const std::string folder = argv[1];
  penlark::qt::QtDialogViews views;
  penlark::testing::DialogTestBed bed(views);
  penlark::testing::TestServer server;
  Seed(server);

  bool saved = true;
  for (const bool saveMode : {false, true}) {
    OpenDialog& dialog = bed.Dialog();
    dialog.Caption = saveMode ? "Tarnwell SaveAs..." : "Tarnwell Open";
    dialog.OpenButton.Caption = saveMode ? penlark::kSaveMode : penlark::kOpenMode;
    dialog.UrlDomainCombo.Text = server.ServerText();
    dialog.UsernameText.Text = "ann";
    dialog.PasswordText.Text = "secret";
    QWidget& window = views.Newest()->Window();
    views.RefreshAll();
    window.show();
    const std::string mode = saveMode ? "save" : "open";
    saved = Save(window, folder, mode + "-connection") && saved;
    dialog.LogInButton_Click();
    if (saveMode) {
      dialog.FilenameText.Text = "Letter to the board.rtf";
      dialog.menuReport_Click();
    }
    dialog.ReloadImage_MouseMove(0, 0, 100, 100);
    views.RefreshAll();
    saved = Save(window, folder, mode + "-file") && saved;
    dialog.Cancel_Click();
  }
  return saved ? 0 : 1;
}

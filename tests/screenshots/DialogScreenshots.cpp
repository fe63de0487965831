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

bool Save(QWidget& window, const std::string& path) {
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
  penlark::qt::QtDialogViews views;
  penlark::testing::DialogTestBed bed(views);
  penlark::testing::TestServer server;
  for (const char* folder : {"/Archive", "/Letters", "/Minutes", "/Reports"}) {
    server.AddFolder(folder);
  }
  for (const char* name : {"/Budget 2027.rtf", "/Quarterly report.rtf", "/Welcome.rtf"}) {
    server.AddDocument(name, penlark::RtfToXml("{\\rtf1 A document}"));
  }
  bool saved = true;
  for (const bool saveMode : {false, true}) {
    penlark::OpenDialog& dialog = bed.Dialog();
    dialog.Caption = saveMode ? "Tarnwell SaveAs..." : "Tarnwell Open";
    dialog.OpenButton.Caption = saveMode ? penlark::kSaveMode : penlark::kOpenMode;
    dialog.UrlDomainCombo.Text = server.ServerText();
    dialog.UsernameText.Text = "ann";
    dialog.PasswordText.Text = "secret";
    QWidget& window = views.Newest()->Window();
    views.RefreshAll();
    window.show();
    const std::string path = argv[1] + std::string(saveMode ? "/save" : "/open");
    saved = Save(window, path + "-connection.png") && saved;
    dialog.LogInButton_Click();
    if (saveMode) {
      dialog.FilenameText.Text = "Letter to the board.rtf";
      dialog.menuReport_Click();
    }
    dialog.ReloadImage_MouseMove(0, 0, 100, 100);
    views.RefreshAll();
    saved = Save(window, path + "-file.png") && saved;
    dialog.Cancel_Click();
  }
  return saved ? 0 : 1;
}

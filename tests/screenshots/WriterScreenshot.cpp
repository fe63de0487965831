// Draws a server document open in a visible LibreOffice Writer, with the dialog beside it about to
// save it back, into a PNG file of the whole screen for a person to look at:
// penlark_writer_screenshot OUTPUT_FOLDER (scripts/screenshots runs it under Xvfb).

#include "automation/Component.h"
#include "conversion/Transform.h"
#include "dialog/OpenDialog.h"
#include "dialog/qt/QtDialogView.h"
#include "support/TestServer.h"
#include "support/dialog/DialogTestBed.h"
#include "support/dialog/ScriptedDialogView.h"
#include "word/writer/Writer.h"

#include <iostream>
#include <string>

#include <QApplication>
#include <QEventLoop>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace {

using penlark::OpenDialog;

constexpr const char* kLetterRtf =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0"
    "{\\fonttbl{\\f0\\fswiss Helvetica;}{\\f1\\froman Times New Roman;}}"
    "{\\colortbl;\\red31\\green78\\blue121;}"
    "\\pard\\sa240\\f0\\fs36\\cf1\\b Letter to the board\\b0\\cf0\\par "
    "\\pard\\sa120\\f1\\fs24 Dear members of the board,\\par "
    "the quarterly figures are in: sales rose by \\b 12%\\b0 , and the budget for 2027 will be "
    "agreed in March. The minutes of every meeting are on the Tarnwell server.\\par "
    "With kind regards,\\par Ann\\par }";

// Lets the office and Qt draw for a while.
void Settle(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  if (argc != 2) {
    std::cerr << "Usage: penlark_writer_screenshot OUTPUT_FOLDER\n";
    return 2;
  }
  const std::string path = std::string(argv[1]) + "/writer-save.png";
  penlark::WriterOptions options;
  options.visible = true;
  const auto word = penlark::StartWriter(options);
  penlark::qt::QtDialogViews views;
  penlark::testing::DialogTestBed bed(views);
  penlark::Component component(bed.ServicesWith(*word, views));
  penlark::testing::TestServer server;
  server.AddFolder("/Letters");
  server.AddFolder("/Reports");
  server.AddDocument("/Letters/Letter to the board.rtf", penlark::RtfToXml(kLetterRtf));

  // Open the letter from the server, as the open flow does.
  OpenDialog& opening = component.Context().Dialog();
  opening.OpenButton.Caption = penlark::kOpenMode;
  penlark::testing::Login(server.ServerText(), "ann", "secret", true)(opening);
  opening.FilenameText.Text = "Letters";
  opening.OpenButton_Click();
  opening.FilenameText.Text = "Letter to the board.rtf";
  opening.OpenButton_Click();
  if (word->DocumentsCount() != 1) {
    std::cerr << "the letter did not open in Writer\n";
    return 1;
  }

  // The dialog again, logged in from the history, in Save mode over the letter.
  OpenDialog& saving = component.Context().Dialog();
  saving.Caption = "Tarnwell SaveAs...";
  saving.OpenButton.Caption = penlark::kSaveMode;
  saving.FilenameText.Text = "Letters";
  saving.OpenButton_Click();
  saving.FilenameText.Text = word->ActiveDocument()->Name();
  QWidget& window = views.Newest()->Window();
  views.RefreshAll();
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  window.move(screen.right() - window.frameGeometry().width() - 40,
              (screen.height() - window.frameGeometry().height()) / 2);
  window.show();
  Settle(3000);

  const bool saved =
      QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromStdString(path));
  std::cout << (saved ? "wrote " : "could not write ") << path << '\n';
  saving.Cancel_Click();
  return saved ? 0 : 1;
}

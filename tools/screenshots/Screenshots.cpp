// Pictures for a person to look at, into PNG files: penlark_screenshots OUTPUT_FOLDER
// (scripts/screenshots runs it under Xvfb).

#include "DialogShots.h"
#include "conversion/Transform.h"
#include "dialog/OpenDialog.h"
#include "dialog/qt/QtDialogView.h"
#include "support/TestServer.h"
#include "support/dialog/DialogTestBed.h"

#include <cstdlib>
#include <functional>
#include <iostream>
#include <string>

#include <QApplication>
#include <QEventLoop>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#ifdef PENLARK_WRITER_SHOT
#include "word/writer/Writer.h"
#endif
#ifdef PENLARK_EXTENSION_SHOT
#include "support/office/OfficeWithExtension.h"
#endif

namespace {

using penlark::OpenDialog;
using penlark::testing::DialogTestBed;
using penlark::testing::TestServer;

bool Save(const QPixmap& picture, const std::string& path) {
  const bool saved = picture.save(QString::fromStdString(path));
  std::cout << (saved ? "wrote " : "could not write ") << path << '\n';
  return saved;
}

// Lets the office and Qt draw for a while.
void Settle(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

bool SaveScreen(const std::string& path, int settleMilliseconds) {
  Settle(settleMilliseconds);
  return Save(QGuiApplication::primaryScreen()->grabWindow(0), path);
}

bool DialogShots(const std::string& folder) {
  penlark::qt::QtDialogViews views;
  DialogTestBed bed(views);
  return ShootDialogTabs(
      bed, [&views] { views.Newest()->Window().show(); },
      [&views, &folder](const std::string& name) {
        views.RefreshAll();
        return Save(views.Newest()->Window().grab(), folder + "/" + name + ".png");
      });
}

#ifdef PENLARK_WRITER_SHOT
constexpr const char* kLetterRtf =
    "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Helvetica;}}{\\colortbl;\\red31\\green78\\blue121;}"
    "\\f0\\sa240\\fs36\\cf1\\b Letter to the board\\b0\\cf0\\par\\fs24 Dear members of the "
    "board,\\par the quarterly figures are in: sales rose by \\b 12%\\b0 .\\par Ann\\par }";

// A letter opened from the server in a visible Writer, and the dialog beside it in Save mode.
bool WriterShot(const std::string& folder) {
  penlark::WriterOptions options;
  options.visible = true;
  const auto word = penlark::StartWriter(options);
  penlark::qt::QtDialogViews views;
  DialogTestBed bed(views);
  penlark::Component component(bed.ServicesWith(*word, views));
  TestServer server;
  server.AddFolder("/Letters");
  server.AddFolder("/Reports");
  server.AddDocument("/Letters/Letter to the board.rtf", penlark::RtfToXml(kLetterRtf));

  OpenDialog& opening = component.Context().Dialog();
  opening.OpenButton.Caption = penlark::kOpenMode;
  penlark::testing::Login(server.ServerText(), "ann", "secret", true)(opening);
  for (const char* typed : {"Letters", "Letter to the board.rtf"}) {
    opening.FilenameText.Text = typed;
    opening.OpenButton_Click();
  }
  if (word->DocumentsCount() != 1) {
    std::cerr << "the letter did not open in Writer\n";
    return false;
  }
  // The dialog again, logged in from the history.
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
  const bool saved = SaveScreen(folder + "/writer-save.png", 3000);
  saving.Cancel_Click();
  return saved;
}
#endif

#ifdef PENLARK_EXTENSION_SHOT
// The user's Writer with the office extension: its Tarnwell menu, opened from the keyboard with
// xdotool, and the dialog its Open… brought up, centred over Writer placed off the screen's centre.
bool ExtensionShot(const std::string& folder) {
  const penlark::testing::TempDir dir;
  setenv("PENLARK_PROGRAM", PENLARK_PROGRAM, 1);
  setenv("PENLARK_REGISTRY", (dir / "registry.reg").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", dir.Path().c_str(), 1);
  setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
  penlark::testing::WriteFile(dir / "Letter to the board.rtf",
                              "{\\rtf1 Dear members of the board,\\par the figures are in.\\par}");
  penlark::testing::OfficeWithExtension office(dir.Path(), PENLARK_EXTENSION, true);
  const auto letter = office.Load(dir / "Letter to the board.rtf");
  Settle(4000);
  // F10, then left past Help and Window.
  std::system(
      "xdotool search --name 'Letter to the board' windowfocus --sync key F10 Left Left Left Down");
  const bool menu = SaveScreen(folder + "/extension-menu.png", 2000);
  std::system("xdotool key Escape Escape");
  std::system("xdotool search --name 'Letter to the board' windowsize 1000 760 windowmove 40 60");
  Settle(2000);
  office.Choose(letter, "XMLOpen");
  return SaveScreen(folder + "/extension-dialog.png", 4000) && menu;
}
#endif

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  if (argc != 2) {
    std::cerr << "Usage: penlark_screenshots OUTPUT_FOLDER\n";
    return 2;
  }
  const std::function<bool(const std::string&)> shots[] = {
      DialogShots,
#ifdef PENLARK_WRITER_SHOT
      WriterShot,
#endif
#ifdef PENLARK_EXTENSION_SHOT
      ExtensionShot,
#endif
  };
  bool saved = true;
  for (const auto& shot : shots) {
    saved = shot(argv[1]) && saved;
  }
  return saved ? 0 : 1;
}

// Pictures for a person to look at, into PNG files: penlark_screenshots OUTPUT_FOLDER
// (scripts/screenshots runs it under Xvfb).

#include "dialog/qt/QtDialogView.h"
#include "support/dialog/DialogShots.h"

#include <cstdlib>
#include <iostream>
#include <string>

#include <QApplication>
#include <QEventLoop>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#ifdef PENLARK_EXTENSION_SHOT
#include "support/office/OfficeWithExtension.h"
#endif

namespace {

bool Save(const QPixmap& picture, const std::string& path) {
  const bool saved = picture.save(QString::fromStdString(path));
  std::cout << (saved ? "wrote " : "could not write ") << path << '\n';
  return saved;
}

bool DialogShots(const std::string& folder) {
  penlark::qt::QtDialogViews views;
  penlark::testing::DialogTestBed bed(views);
  return ShootDialogTabs(
      bed, [&views] { views.Newest()->Window().show(); },
      [&views, &folder](const std::string& name) {
        views.RefreshAll();
        return Save(views.Newest()->Window().grab(), folder + "/" + name + ".png");
      });
}

#ifdef PENLARK_EXTENSION_SHOT
void Settle(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

bool SaveScreen(const std::string& path, int settleMilliseconds) {
  Settle(settleMilliseconds);
  return Save(QGuiApplication::primaryScreen()->grabWindow(0), path);
}

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
  bool saved = DialogShots(argv[1]);
#ifdef PENLARK_EXTENSION_SHOT
  saved = ExtensionShot(argv[1]) && saved;
#endif
  return saved ? 0 : 1;
}

// Draws the user's own visible Writer with the office extension: its Tarnwell menu open, and then
// the dialog that the menu's Open… brought up in front of Writer and centred over it, into two PNG
// files of the whole screen for a person to look at: penlark_extension_screenshot OUTPUT_FOLDER
// (scripts/screenshots runs it under Xvfb, with xdotool to open the menu).

#include "support/TempDir.h"
#include "support/TestServer.h"
#include "support/office/OfficeWithExtension.h"

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

namespace {

void Settle(int seconds) {
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
}

bool Grab(const std::string& path) {
  const bool saved =
      QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromStdString(path));
  std::cout << (saved ? "wrote " : "could not write ") << path << '\n';
  return saved;
}

}  // namespace

int main(int argc, char* argv[]) {
  QGuiApplication application(argc, argv);
  if (argc != 2) {
    std::cerr << "Usage: penlark_extension_screenshot OUTPUT_FOLDER\n";
    return 2;
  }
  const std::string folder = argv[1];
  const penlark::testing::TempDir dir;
  setenv("PENLARK_PROGRAM", PENLARK_PROGRAM, 1);
  setenv("PENLARK_REGISTRY", (dir / "registry.reg").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", dir.Path().c_str(), 1);
  setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
  penlark::testing::WriteFile(
      dir / "Letter to the board.rtf",
      "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}}\\f0\\fs24 "
      "Dear members of the board,\\par the quarterly figures are in.\\par}");
  penlark::testing::OfficeWithExtension office(dir.Path(), PENLARK_EXTENSION, true);
  const auto letter = office.Load(dir / "Letter to the board.rtf");
  Settle(4);

  // The menu bar's Tarnwell menu, opened from the keyboard: F10, then left past Help and Window.
  std::system(
      "xdotool search --name 'Letter to the board' windowfocus --sync key F10 Left Left Left Down");
  Settle(2);
  const bool menu = Grab(folder + "/extension-menu.png");
  std::system("xdotool key Escape Escape");

  // Writer off the screen's centre, so that the picture shows the dialog placed over it.
  std::system("xdotool search --name 'Letter to the board' windowsize 1000 760 windowmove 40 60");
  Settle(2);
  office.Choose(letter, "XMLOpen");
  Settle(4);
  const bool dialog = Grab(folder + "/extension-dialog.png");
  return menu && dialog ? 0 : 1;
}

// Pictures of the dialog's Win32 window for a person to look at, taken by scripts/screenshots
// under Xvfb: penlark_win32_screenshots FOLDER. The window on each tab, in Open and in Save mode.
// For each picture the window is shown and FOLDER/NAME.ready written with the place of its client
// area on the screen (WIDTHxHEIGHT+X+Y); the script takes the picture and then writes
// FOLDER/NAME.taken.

#include "conversion/Transform.h"
#include "dialog/OpenDialog.h"
#include "dialog/win32/ModalLoop.h"
#include "dialog/win32/Win32DialogView.h"
#include "support/TestServer.h"
#include "support/dialog/DialogTestBed.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <windows.h>

namespace {

using penlark::OpenDialog;

// Runs the window's messages for a while.
void Settle(DWORD milliseconds) {
  const DWORD start = ::GetTickCount();
  MSG message{};
  while (::GetTickCount() - start < milliseconds) {
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    ::Sleep(20);
  }
}

// Announces the window as ready and waits until the picture has been taken.
bool Shot(const std::filesystem::path& folder, const std::string& name, HWND window) {
  Settle(800);
  // The client area: without a window manager the frame has no title bar to show.
  RECT client{};
  ::GetClientRect(window, &client);
  POINT origin{0, 0};
  ::ClientToScreen(window, &origin);
  std::ofstream(folder / (name + ".ready"))
      << client.right << 'x' << client.bottom << '+' << origin.x << '+' << origin.y << '\n';
  for (int waited = 0; waited < 600; ++waited) {
    if (std::filesystem::exists(folder / (name + ".taken"))) {
      return true;
    }
    Settle(50);
  }
  std::cerr << "no picture was taken of " << name << '\n';
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::cerr << "Usage: penlark_win32_screenshots FOLDER\n";
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  penlark::win32::Win32DialogViews views;
  penlark::testing::DialogTestBed bed(views);
  penlark::testing::TestServer server;
  for (const char* name : {"/Archive", "/Letters", "/Minutes", "/Reports"}) {
    server.AddFolder(name);
  }
  for (const char* name : {"/Budget 2027.rtf", "/Quarterly report.rtf", "/Welcome.rtf"}) {
    server.AddDocument(name, penlark::RtfToXml("{\\rtf1 A document}"));
  }
  bool taken = true;
  for (const bool saveMode : {false, true}) {
    OpenDialog& dialog = bed.Dialog();
    dialog.Caption = saveMode ? "Tarnwell SaveAs..." : "Tarnwell Open";
    dialog.OpenButton.Caption = saveMode ? penlark::kSaveMode : penlark::kOpenMode;
    dialog.UrlDomainCombo.Text = server.ServerText();
    dialog.UsernameText.Text = "ann";
    dialog.PasswordText.Text = "secret";
    const HWND window = views.Newest()->Window();
    views.RefreshAll();
    penlark::win32::CentreOnOwner(window);
    ::ShowWindow(window, SW_SHOW);
    const std::string name = saveMode ? "win32-save" : "win32-open";
    taken = Shot(folder, name + "-connection", window) && taken;
    dialog.LogInButton_Click();
    if (saveMode) {
      dialog.FilenameText.Text = "Letter to the board.rtf";
      dialog.menuReport_Click();
    }
    dialog.ReloadImage_MouseMove(0, 0, 100, 100);
    views.RefreshAll();
    taken = Shot(folder, name + "-file", window) && taken;
    dialog.Cancel_Click();
  }
  return taken ? 0 : 1;
}

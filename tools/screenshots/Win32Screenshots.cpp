// Pictures of the dialog's Win32 window, taken by scripts/screenshots under Xvfb:
// penlark_win32_screenshots FOLDER. For each picture the window is shown and FOLDER/NAME.ready
// written with the place of its client area (WIDTHxHEIGHT+X+Y); the script takes the picture and
// then writes FOLDER/NAME.taken.

#include "DialogShots.h"
#include "dialog/win32/ModalLoop.h"
#include "dialog/win32/Win32DialogView.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <windows.h>

namespace {

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
  const bool taken = penlark::testing::ShootDialogTabs(
      bed,
      [&views] {
        const HWND window = views.Newest()->Window();
        views.RefreshAll();
        penlark::win32::CentreOnOwner(window);
        ::ShowWindow(window, SW_SHOW);
      },
      [&views, &folder](const std::string& name) {
        views.RefreshAll();
        return Shot(folder, "win32-" + name, views.Newest()->Window());
      });
  return taken ? 0 : 1;
}

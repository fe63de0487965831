#include "dialog/OpenDialog.h"
#include "dialog/win32/Module.h"
#include "dialog/win32/Win32DialogView.h"
#include "dialog/win32/Win32Prompts.h"
#include "support/TestServer.h"
#include "support/dialog/DialogTestBed.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <gtest/gtest.h>

namespace penlark::testing {
namespace {

std::wstring Text(HWND window) {
  wchar_t text[256] = {};
  ::GetWindowTextW(window, text, 256);
  return text;
}

std::vector<std::wstring> ListItems(HWND list) {
  std::vector<std::wstring> items;
  const auto count = ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
  for (int index = 0; index < count; ++index) {
    wchar_t text[256] = {};
    LVITEMW item{};
    item.pszText = text;
    item.cchTextMax = 256;
    ::SendMessageW(list, LVM_GETITEMTEXTW, WPARAM(index), reinterpret_cast<LPARAM>(&item));
    items.emplace_back(text);
  }
  std::sort(items.begin(), items.end());
  return items;
}

class Win32DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::getenv("DISPLAY") == nullptr) {
      GTEST_SKIP() << "no X display for Wine";
    }
    server.AddFolder("/Letters");
    server.AddFolder("/Reports");
    server.AddDocument("/Welcome.rtf", "<Document/>");
    server.AddDocument("/Letters/To the board.rtf", "<Document/>");
    bed.emplace(views);
    bed->Dialog();
    view = views.Newest();
    ::ShowWindow(view->Window(), SW_SHOW);
  }

  HWND Control(const char* name) const {
    const HWND window = view->ControlWindow(name);
    EXPECT_NE(window, nullptr) << name;
    return window;
  }

  // As the keyboard does, replacing the field's text.
  void Type(HWND field, std::string_view text) const {
    ::SendMessageW(field, EM_SETSEL, 0, -1);
    for (const char character : text) {
      ::SendMessageW(field, WM_CHAR, WPARAM(character), 0);
    }
  }

  // As the dialog's loop does.
  void Pump() const {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (!::IsDialogMessageW(view->Window(), &message)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
      }
    }
  }

  void Press(HWND control, WPARAM key) const {
    MSG message{control, WM_KEYDOWN, key, 0, 0, {}};
    if (!::IsDialogMessageW(view->Window(), &message)) {
      ::DispatchMessageW(&message);
    }
    Pump();
  }

  TestServer server;
  win32::Win32DialogViews views;
  std::optional<DialogTestBed> bed;
  win32::Win32DialogView* view = nullptr;
};

TEST_F(Win32DialogTest, LogsInListsAndEntersAFolderThroughTheControls) {
  const HWND serverField = ::FindWindowExW(Control("UrlDomainCombo"), nullptr, L"Edit", nullptr);
  Type(serverField, server.ServerText());
  Type(Control("UsernameText"), "ann");
  Type(Control("PasswordText"), "secret");
  ::SendMessageW(Control("LogInButton"), BM_CLICK, 0, 0);
  Pump();

  const HWND list = Control("ListView");
  EXPECT_TRUE(::IsWindowVisible(list));
  EXPECT_FALSE(::IsWindowVisible(Control("ConnectionFrame")));
  EXPECT_EQ(ListItems(list), (std::vector<std::wstring>{L"Letters", L"Reports", L"Welcome.rtf"}));

  // The arrows choose an item; Enter runs the file tab's default button, Open, which enters it.
  ::SetFocus(list);
  Press(list, VK_END);
  EXPECT_EQ(Text(Control("FilenameText")), L"Welcome.rtf");
  Press(list, VK_HOME);
  EXPECT_EQ(Text(Control("FilenameText")), L"Letters");
  Press(list, VK_RETURN);
  EXPECT_EQ(ListItems(list), std::vector<std::wstring>{L"To the board.rtf"});
  EXPECT_EQ(bed->Dialog().ImageCombo.Text, "/Letters");

  // Escape cancels the modal showing, which returns; the unloaded dialog's window is gone.
  ::PostMessageW(list, WM_KEYDOWN, VK_ESCAPE, 0);
  bed->Context().ShowDialog();
  EXPECT_EQ(views.Newest(), nullptr);
}

// While the box titled kBoxTitle is up: types "Drafts" into any field, presses `boxButton` (again
// on each tick until the box is gone: Wine may drop a command that comes too early).
constexpr const wchar_t* kBoxTitle = L"Penlark test box";
WPARAM boxButton = 0;

void CALLBACK AnswerBox(HWND, UINT, UINT_PTR, DWORD) {
  if (const HWND box = ::FindWindowW(nullptr, kBoxTitle); box != nullptr) {
    ::SetWindowTextW(::FindWindowExW(box, nullptr, L"Edit", nullptr), L"Drafts");
    ::PostMessageW(box, WM_COMMAND, boxButton, 0);
  }
}

TEST(Win32PromptsTest, ReturnTheButtonPressedAndTheTextTyped) {
  if (std::getenv("DISPLAY") == nullptr) {
    GTEST_SKIP() << "no X display for Wine";
  }
  const struct {
    bool input;
    WPARAM button;
    std::string answer;
  } rows[] = {
      {false, IDYES, "Yes"}, {false, IDNO, "No"}, {true, IDOK, "Drafts"}, {true, IDCANCEL, ""}};
  win32::Win32Prompts prompts;
  for (const auto& row : rows) {
    boxButton = row.button;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, AnswerBox);
    const std::string answer =
        row.input ? prompts.InputBox({"Folder name:", "Penlark test box", "New Folder"})
        : prompts.ShowMessage({"Replace it?", MessageButtons::YesNo, MessageIcon::Exclamation,
                               "Penlark test box"}) == MessageAnswer::Yes
            ? "Yes"
            : "No";
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(answer, row.answer);
  }
}

// Whether the activation context in force sends comctl32.dll to an assembly of its manifest.
bool CommonControlsRedirected() {
  ACTCTX_SECTION_KEYED_DATA data{};
  data.cbSize = sizeof data;
  return ::FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                    L"comctl32.dll", &data);
}

TEST(CommonControlsScope, AsksForTheCommonControlsOfItsManifestWhileAlive) {
  EXPECT_FALSE(CommonControlsRedirected());
  {
    const win32::CommonControlsScope scope;
    EXPECT_TRUE(CommonControlsRedirected());
  }
  EXPECT_FALSE(CommonControlsRedirected());
}

}  // namespace
}  // namespace penlark::testing

#include "dialog/win32/DialogWindow.h"

#include "dialog/ControlTable.h"
#include "dialog/OpenDialog.h"
#include "dialog/Twips.h"
#include "dialog/win32/Artwork.h"
#include "dialog/win32/ImageButtonWindow.h"
#include "dialog/win32/ModalLoop.h"
#include "dialog/win32/Module.h"
#include "platform/windows/WideText.h"

#include <commctrl.h>
#include <stdexcept>

namespace penlark::win32 {
namespace {

constexpr int kFirstControlId = 1000;
// A mouse move over a frame: the key flags and the frame's id in wParam, the position in lParam.
constexpr UINT kFrameMouseMove = WM_APP + 1;
// A double-click on the list, handled once the list has finished with it.
constexpr UINT kListDoubleClick = WM_APP + 2;
constexpr DWORD kFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kFormExtendedStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), int(text.size()))));
  return text;
}

void SetText(HWND window, const std::string& text) {
  const std::wstring wanted = ToWide(text);
  if (TextOf(window) != wanted) {
    ::SetWindowTextW(window, wanted.c_str());
  }
}

std::wstring ComboItem(HWND combo, WPARAM index) {
  const LRESULT length = ::SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
  if (length < 0) {
    return {};
  }
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  ::SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

// An item of an extended combo box, which holds its texts itself.
std::wstring ExtendedComboItem(HWND combo, WPARAM index) {
  wchar_t text[MAX_PATH] = {};
  COMBOBOXEXITEMW item{};
  item.mask = CBEIF_TEXT;
  item.iItem = INT_PTR(index);
  item.pszText = text;
  item.cchTextMax = MAX_PATH;
  ::SendMessageW(combo, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return text;
}

// Whether the combo's list holds exactly these items.
bool HoldsItems(HWND combo, const std::vector<std::string>& items,
                std::wstring (*itemText)(HWND, WPARAM)) {
  if (::SendMessageW(combo, CB_GETCOUNT, 0, 0) != LRESULT(items.size())) {
    return false;
  }
  for (std::size_t index = 0; index < items.size(); ++index) {
    if (itemText(combo, index) != ToWide(items[index])) {
      return false;
    }
  }
  return true;
}

DWORD ListStyle(ListViewMode mode) {
  switch (mode) {
    case ListViewMode::Icons:
      return LVS_ICON;
    case ListViewMode::SmallIcons:
      return LVS_SMALLICON;
    case ListViewMode::List:
      return LVS_LIST;
    case ListViewMode::Report:
      return LVS_REPORT;
  }
  return LVS_ICON;
}

}  // namespace

// Builds the window of one row of the table of controls, with its wiring, and says how it draws
// its control.
class WidgetBuilder {
 public:
  WidgetBuilder(DialogWindow& window, const OpenDialog& design, HWND container)
      : window_(window), design_(design), container_(container) {}

  DialogWindow::Bound operator()(const FrameRow& row) const {
    HWND frame = window_.CreateChild(WindowClass(L"PenlarkFrame", DialogWindow::FrameProcedure),
                                     WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, container_);
    return Bind(frame, row.control, [&window = window_, frame](const Frame& control) {
      window.DrawControl(frame, control);
      window.DrawColor(frame, control.BackColor);
    });
  }

  DialogWindow::Bound operator()(const LabelRow& row) const {
    HWND label = window_.CreateChild(L"STATIC", SS_LEFT, 0, container_);
    return Bind(label, row.control, [&window = window_, label](const Label& control) {
      SetText(label, control.Caption);
      window.DrawControl(label, control);
      window.DrawColor(label, control.BackColor);
    });
  }

  DialogWindow::Bound operator()(const TextRow& row) const {
    const TextBox& designed = design_.*row.control;
    const DWORD style = WS_TABSTOP | ES_AUTOHSCROLL | (designed.Locked ? ES_READONLY : 0) |
                        (designed.PasswordChar != '\0' ? ES_PASSWORD : 0);
    HWND edit = window_.CreateChild(L"EDIT", style, WS_EX_CLIENTEDGE, container_);
    if (designed.PasswordChar != '\0') {
      ::SendMessageW(edit, EM_SETPASSWORDCHAR, WPARAM(designed.PasswordChar), 0);
    }
    DialogWindow::Bound bound =
        Bind(edit, row.control, [&window = window_, edit](const TextBox& control) {
          SetText(edit, control.Text);
          window.DrawControl(edit, control);
        });
    if (!designed.Locked) {
      bound.command = [dispatch = window_.dispatch_, field = row.control, edit](int code) {
        if (code == EN_CHANGE) {
          dispatch([field, text = ToUtf8(TextOf(edit))](OpenDialog& dialog) {
            (dialog.*field).Text = text;
          });
        }
      };
    }
    return bound;
  }

  DialogWindow::Bound operator()(const CheckRow& row) const {
    HWND check = window_.CreateChild(L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 0, container_);
    DialogWindow::Bound bound =
        Bind(check, row.control, [&window = window_, check](const CheckBox& control) {
          SetText(check, control.Caption);
          ::SendMessageW(check, BM_SETCHECK, control.Value ? BST_CHECKED : BST_UNCHECKED, 0);
          window.DrawControl(check, control);
        });
    bound.command = [dispatch = window_.dispatch_, field = row.control, check](int code) {
      if (code == BN_CLICKED) {
        const bool checked = ::SendMessageW(check, BM_GETCHECK, 0, 0) == BST_CHECKED;
        dispatch([field, checked](OpenDialog& dialog) { (dialog.*field).Value = checked; });
      }
    };
    return bound;
  }

  DialogWindow::Bound operator()(const ButtonRow& row) const {
    HWND button = window_.CreateChild(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0, container_);
    DialogWindow::Bound bound =
        Bind(button, row.control, [&window = window_, button](const CommandButton& control) {
          SetText(button, control.Caption);
          window.DrawControl(button, control);
          window.DrawColor(button, control.BackColor);
        });
    bound.command = [dispatch = window_.dispatch_, click = row.click](int code) {
      if (code == BN_CLICKED) {
        dispatch([click](OpenDialog& dialog) { (dialog.*click)(); });
      }
    };
    return bound;
  }

  DialogWindow::Bound operator()(const ServerComboRow& row) const {
    HWND combo = window_.CreateChild(
        L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, container_);
    DialogWindow::Bound bound =
        Bind(combo, row.control, [&window = window_, combo](const ComboBox& control) {
          if (!HoldsItems(combo, control.Items, ComboItem)) {
            ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
            for (const std::string& item : control.Items) {
              ::SendMessageW(combo, CB_ADDSTRING, 0,
                             reinterpret_cast<LPARAM>(ToWide(item).c_str()));
            }
          }
          SetText(combo, control.Text);
          window.DrawControl(combo, control);
        });
    bound.command = [dispatch = window_.dispatch_, field = row.control, combo](int code) {
      if (code == CBN_EDITCHANGE) {
        dispatch([field, text = ToUtf8(TextOf(combo))](OpenDialog& dialog) {
          (dialog.*field).Text = text;
          (dialog.*field).ListIndex = -1;
        });
      } else if (code == CBN_SELCHANGE) {
        const auto index = ::SendMessageW(combo, CB_GETCURSEL, 0, 0);
        if (index >= 0) {
          dispatch([index = int(index),
                    text = ToUtf8(ComboItem(combo, WPARAM(index)))](OpenDialog& dialog) {
            dialog.UrlDomainCombo.ListIndex = index;
            dialog.UrlDomainCombo.Text = text;
            dialog.UrlDomainCombo_Click();
          });
        }
      } else if (code == CBN_KILLFOCUS) {
        dispatch([](OpenDialog& dialog) { dialog.UrlDomainCombo_LostFocus(); });
      }
    };
    return bound;
  }

  DialogWindow::Bound operator()(const FolderComboRow& row) const {
    HWND combo = window_.CreateChild(WC_COMBOBOXEXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0,
                                     container_);
    ::SendMessageW(combo, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(ListIcons(16)));
    DialogWindow::Bound bound =
        Bind(combo, row.control, [&window = window_, combo](const ImageComboBox& control) {
          if (!HoldsItems(combo, control.Items, ExtendedComboItem)) {
            ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
            for (std::size_t index = 0; index < control.Items.size(); ++index) {
              std::wstring text = ToWide(control.Items[index]);
              COMBOBOXEXITEMW item{};
              item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
              item.iItem = INT_PTR(index);
              item.pszText = text.data();
              item.iImage = kFolderIcon - 1;
              item.iSelectedImage = kFolderIcon - 1;
              ::SendMessageW(combo, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
            }
          }
          if (::SendMessageW(combo, CB_GETCURSEL, 0, 0) != control.SelectedIndex) {
            ::SendMessageW(combo, CB_SETCURSEL, WPARAM(control.SelectedIndex), 0);
          }
          window.DrawControl(combo, control);
        });
    bound.command = [dispatch = window_.dispatch_, combo](int code) {
      const auto index = ::SendMessageW(combo, CB_GETCURSEL, 0, 0);
      if (code == CBN_SELCHANGE && index >= 0) {
        dispatch([index = int(index)](OpenDialog& dialog) {
          dialog.ImageCombo.Select(index);
          dialog.ImageCombo_Click();
        });
      }
    };
    return bound;
  }

  DialogWindow::Bound operator()(const ListRow& row) const {
    window_.BuildList(design_.*row.control, container_);
    DialogWindow::Bound bound =
        Bind(window_.list_, row.control,
             [&window = window_](const ListViewControl& control) { window.DrawList(control); });
    bound.notify = [&window = window_](const NMHDR& header) {
      const auto& activated = reinterpret_cast<const NMITEMACTIVATE&>(header);
      const auto& changed = reinterpret_cast<const NMLISTVIEW&>(header);
      if (header.code == NM_CLICK && activated.iItem >= 0) {
        window.dispatch_(
            [index = activated.iItem](OpenDialog& dialog) { dialog.ListView_ItemClick(index); });
      } else if (header.code == LVN_ITEMCHANGED && !window.drawing_ && changed.iItem >= 0 &&
                 (changed.uNewState & ~changed.uOldState & LVIS_SELECTED) != 0) {
        // The keyboard chose an item.
        window.dispatch_(
            [index = changed.iItem](OpenDialog& dialog) { dialog.ListView_ItemClick(index); });
      } else if (header.code == NM_DBLCLK) {
        ::PostMessageW(window.window_, kListDoubleClick, 0, 0);
      } else if (header.code == LVN_KEYDOWN) {
        const WORD key = reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey;
        if (key == VK_BACK) {
          window.ClickImageFromKeyboard("UpOneLevelImage");
        } else if (key == VK_DELETE) {
          window.ClickImageFromKeyboard("DeleteImage");
        }
      }
    };
    return bound;
  }

  DialogWindow::Bound operator()(const PictureRow& row) const {
    const ImageButtonEvents events = ForwardMouseEvents(row, window_.dispatch_);
    ImageButtonWindow* button =
        ImageButtonWindow::Create(container_, kFirstControlId + int(window_.bound_.size()),
                                  window_.dpi_, events.down, events.move, events.up);
    return Bind(button->Window(), row.control,
                [&window = window_, button, pictures = row.pictures](const ImageButton& control) {
                  button->SetPicture(ButtonPicture(pictures, control.Picture));
                  window.DrawControl(button->Window(), control);
                });
  }

  DialogWindow::Bound operator()(const LineRow& row) const {
    HWND line = window_.CreateChild(L"STATIC", SS_ETCHEDVERT, 0, container_);
    return Bind(line, row.control, [&window = window_, line](const ImageButton& control) {
      window.DrawControl(line, control);
    });
  }

 private:
  template <typename ControlType, typename Draw>
  static DialogWindow::Bound Bind(HWND window, Field<ControlType> field, Draw draw) {
    DialogWindow::Bound bound;
    bound.window = window;
    bound.control = [field](const OpenDialog& dialog) -> const Control& { return dialog.*field; };
    bound.draw = [field, draw](const OpenDialog& dialog) { draw(dialog.*field); };
    return bound;
  }

  DialogWindow& window_;
  const OpenDialog& design_;
  HWND container_;
};

DialogWindow::DialogWindow(const OpenDialog& design, Dispatcher dispatch)
    : dispatch_(std::move(dispatch)), formColor_(design.BackColor) {
  const CommonControlsScope commonControls;
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX),
                                     ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES | ICC_USEREX_CLASSES};
  ::InitCommonControlsEx(&classes);
  ReadScreenMetrics();
  RECT frame = Place(design.Position);
  ::AdjustWindowRectEx(&frame, kFormStyle, FALSE, kFormExtendedStyle);
  window_ = ::CreateWindowExW(kFormExtendedStyle, WindowClass(L"PenlarkOpenDialog", Procedure), L"",
                              kFormStyle, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                              frame.bottom - frame.top, nullptr, nullptr, ThisModule(), this);
  if (window_ == nullptr) {
    // Without a desktop (a service, or Wine without an X display) there is no window to show.
    ::DeleteObject(font_);
    throw std::runtime_error(kNoWindow);
  }
  BuildTabStrip(design);
  BuildControls(design);
  BuildTips();
  BuildMenuBar(design);
}

// The screen's resolution, and the font of message boxes, which the controls are written in.
void DialogWindow::ReadScreenMetrics() {
  const HDC screen = ::GetDC(nullptr);
  dpi_ = ::GetDeviceCaps(screen, LOGPIXELSX);
  ::ReleaseDC(nullptr, screen);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  font_ = ::CreateFontIndirectW(&metrics.lfMessageFont);
}

// Every control of the table of controls, in its container at its place.
void DialogWindow::BuildControls(const OpenDialog& design) {
  for (const WidgetRow& row : WidgetRows()) {
    const HWND container = row.container != nullptr ? ControlWindow(row.container) : window_;
    Bound bound = std::visit(WidgetBuilder(*this, design, container), row.kind);
    bound.name = row.name;
    const RECT place = Place(bound.control(design).Position);
    // A combo box's height includes its drop-down list.
    const int dropDown = std::holds_alternative<ServerComboRow>(row.kind) ||
                                 std::holds_alternative<FolderComboRow>(row.kind)
                             ? ToPixels(2400, dpi_)
                             : 0;
    ::MoveWindow(bound.window, place.left, place.top, place.right - place.left,
                 place.bottom - place.top + dropDown, FALSE);
    bound_.push_back(std::move(bound));
  }
  // The tab control under the frames that fill its page.
  ::SetWindowPos(tabStrip_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// "&Data" is hidden from the start; its items have no action.
void DialogWindow::BuildMenuBar(const OpenDialog& design) {
  const HMENU data = ::CreatePopupMenu();
  ::AppendMenuW(data, MF_STRING, 1, ToWide(design.menuOpen.Caption).c_str());
  ::AppendMenuW(data, MF_STRING, 2, ToWide(design.menuExit.Caption).c_str());
  menuBar_ = ::CreateMenu();
  ::AppendMenuW(menuBar_, MF_POPUP, reinterpret_cast<UINT_PTR>(data),
                ToWide(design.menuData.Caption).c_str());
}

DialogWindow::~DialogWindow() {
  if (::GetMenu(window_) == nullptr) {
    ::DestroyMenu(menuBar_);
  }
  ::DestroyWindow(window_);
  ::DeleteObject(font_);
  for (const auto& [color, brush] : brushes_) {
    ::DeleteObject(brush);
  }
}

HWND DialogWindow::ControlWindow(std::string_view name) const {
  for (const Bound& bound : bound_) {
    if (bound.name == name) {
      return bound.window;
    }
  }
  return nullptr;
}

RECT DialogWindow::Place(const Rect& rect) const {
  const int left = ToPixels(rect.Left, dpi_);
  const int top = ToPixels(rect.Top, dpi_);
  return {left, top, left + ToPixels(rect.Width, dpi_), top + ToPixels(rect.Height, dpi_)};
}

HWND DialogWindow::CreateChild(const wchar_t* windowClass, DWORD style, DWORD extendedStyle,
                               HWND container) {
  const int id = kFirstControlId + int(bound_.size());
  const HWND child = ::CreateWindowExW(
      extendedStyle, windowClass, L"", WS_CHILD | WS_CLIPSIBLINGS | style, 0, 0, 0, 0, container,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ThisModule(), nullptr);
  ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  return child;
}

void DialogWindow::BuildTabStrip(const OpenDialog& design) {
  tabStrip_ = ::CreateWindowExW(0, WC_TABCONTROLW, L"",
                                WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_TOOLTIPS, 0, 0, 0, 0,
                                window_, nullptr, ThisModule(), nullptr);
  ::SendMessageW(tabStrip_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  for (const Tab& tab : design.TabStrip.Tabs) {
    std::wstring caption = ToWide(tab.Caption);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    ::SendMessageW(tabStrip_, TCM_INSERTITEMW, tabTips_.size(), reinterpret_cast<LPARAM>(&item));
    tabTips_.push_back(ToWide(tab.ToolTipText));
  }
  const RECT strip = Place(design.TabStrip.Position);
  ::MoveWindow(tabStrip_, strip.left, strip.top, strip.right - strip.left, strip.bottom - strip.top,
               FALSE);
}

void DialogWindow::BuildList(const ListViewControl& design, HWND container) {
  list_ = CreateChild(WC_LISTVIEWW,
                      WS_TABSTOP | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_AUTOARRANGE |
                          LVS_SHAREIMAGELISTS | LVS_ICON,
                      WS_EX_CLIENTEDGE, container);
  ::SendMessageW(list_, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(ListIcons(32)));
  ::SendMessageW(list_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(ListIcons(16)));
  ::SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  for (std::size_t column = 0; column < design.Columns.size(); ++column) {
    std::wstring text = ToWide(design.Columns[column].Text);
    LVCOLUMNW header{};
    header.mask = LVCF_TEXT | LVCF_WIDTH;
    header.pszText = text.data();
    header.cx = ToPixels(design.Columns[column].Width, dpi_);
    ::SendMessageW(list_, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&header));
  }
  ::SetWindowSubclass(list_, ListProcedure, 1, reinterpret_cast<DWORD_PTR>(this));
}

// One tool tip window for the controls; each asks for its text when it is shown.
void DialogWindow::BuildTips() {
  tips_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0,
                            0, 0, window_, nullptr, ThisModule(), nullptr);
  for (const Bound& bound : bound_) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(bound.window);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    ::SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

LRESULT CALLBACK DialogWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<DialogWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<DialogWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr || message == WM_NCDESTROY) {
    return ::DefWindowProcW(window, message, wParam, lParam);
  }
  return self->Handle(message, wParam, lParam);
}

// A frame passes what its children report on to the form, and paints its own colour.
LRESULT CALLBACK DialogWindow::FrameProcedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  const HWND form = ::GetAncestor(window, GA_ROOT);
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return ::SendMessageW(form, message, wParam, lParam);
    case WM_MOUSEMOVE:
      return ::SendMessageW(form, kFrameMouseMove,
                            MAKEWPARAM(LOWORD(wParam), ::GetDlgCtrlID(window)), lParam);
    case WM_ERASEBKGND: {
      RECT client{};
      ::GetClientRect(window, &client);
      ::FillRect(reinterpret_cast<HDC>(wParam), &client,
                 reinterpret_cast<HBRUSH>(::SendMessageW(form, WM_CTLCOLORSTATIC, wParam,
                                                         reinterpret_cast<LPARAM>(window))));
      return 1;
    }
    default:
      return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK DialogWindow::ListProcedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam, UINT_PTR, DWORD_PTR self) {
  if (message == WM_MOUSEMOVE) {
    auto* dialogWindow = reinterpret_cast<DialogWindow*>(self);
    const MouseEventArgs args = MouseArgs(ButtonCode(wParam), wParam, lParam, dialogWindow->dpi_);
    dialogWindow->dispatch_([args](OpenDialog& dialog) {
      dialog.ListView_MouseMove(args.button, args.shift, args.x, args.y);
    });
  }
  return ::DefSubclassProc(window, message, wParam, lParam);
}

LRESULT DialogWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id == IDCANCEL) {
        dispatch_([](OpenDialog& dialog) { dialog.Cancel_Click(); });
      } else if (id >= kFirstControlId && id - kFirstControlId < int(bound_.size()) && !drawing_) {
        const Bound& bound = bound_[std::size_t(id - kFirstControlId)];
        if (bound.command) {
          bound.command(HIWORD(wParam));
        }
      }
      return 0;
    }
    case WM_NOTIFY:
      Notify(*reinterpret_cast<const NMHDR*>(lParam));
      return 0;
    case DM_GETDEFID:
      return MAKELRESULT(defaultButton_, DC_HASDEFID);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return reinterpret_cast<LRESULT>(
          ColorOf(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)));
    case WM_ERASEBKGND: {
      RECT client{};
      ::GetClientRect(window_, &client);
      ::FillRect(reinterpret_cast<HDC>(wParam), &client, Brush(formColor_));
      return 1;
    }
    case WM_CLOSE:
      dispatch_([](OpenDialog& dialog) { dialog.Form_QueryUnload(); });
      return 0;
    case kFrameMouseMove: {
      const Bound& frame = bound_[std::size_t(HIWORD(wParam) - kFirstControlId)];
      if (std::string_view(frame.name) == "OpenFileFrame") {
        const MouseEventArgs args =
            MouseArgs(ButtonCode(LOWORD(wParam)), LOWORD(wParam), lParam, dpi_);
        dispatch_([args](OpenDialog& dialog) {
          dialog.OpenFileFrame_MouseMove(args.button, args.shift, args.x, args.y);
        });
      }
      return 0;
    }
    case kListDoubleClick:
      dispatch_([](OpenDialog& dialog) { dialog.ListView_DblClick(); });
      return 0;
    default:
      return ::DefWindowProcW(window_, message, wParam, lParam);
  }
}

void DialogWindow::Notify(const NMHDR& header) {
  if (header.code == TTN_GETDISPINFOW) {
    auto& info = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(header));
    if (header.hwndFrom == tips_) {
      info.lpszText = controlTips_[reinterpret_cast<HWND>(header.idFrom)].data();
    } else if (header.idFrom < tabTips_.size()) {
      info.lpszText = tabTips_[header.idFrom].data();
    }
    return;
  }
  if (header.hwndFrom == tabStrip_ && header.code == TCN_SELCHANGE) {
    const int tab = int(::SendMessageW(tabStrip_, TCM_GETCURSEL, 0, 0)) + 1;
    dispatch_([tab](OpenDialog& dialog) { dialog.SelectTab(tab); });
    return;
  }
  for (const Bound& bound : bound_) {
    if (bound.window == header.hwndFrom && bound.notify) {
      bound.notify(header);
    }
  }
}

HBRUSH DialogWindow::Brush(Color color) {
  const COLORREF key = RGB(color.Red, color.Green, color.Blue);
  const auto [entry, added] = brushes_.try_emplace(key, nullptr);
  if (added) {
    entry->second = ::CreateSolidBrush(key);
  }
  return entry->second;
}

// The colour of a control, or of the nearest container that has one, or the form's.
HBRUSH DialogWindow::ColorOf(HWND window, HDC dc) {
  Color color = formColor_;
  for (HWND at = window; at != nullptr && at != window_; at = ::GetParent(at)) {
    if (const auto found = colors_.find(at); found != colors_.end()) {
      color = found->second;
      break;
    }
  }
  ::SetBkColor(dc, RGB(color.Red, color.Green, color.Blue));
  return Brush(color);
}

void DialogWindow::DrawControl(HWND window, const Control& control) {
  if ((::IsWindowEnabled(window) != 0) != control.Enabled) {
    ::EnableWindow(window, control.Enabled);
  }
  const bool visible = (::GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0;
  if (visible != control.Visible) {
    ::ShowWindow(window, control.Visible ? SW_SHOWNA : SW_HIDE);
  }
  controlTips_[window] = ToWide(control.ToolTipText);
}

void DialogWindow::DrawColor(HWND window, std::optional<Color> color) {
  const auto found = colors_.find(window);
  const bool drawn = found != colors_.end();
  if (color.has_value() == drawn && (!drawn || found->second == *color)) {
    return;
  }
  if (color) {
    colors_[window] = *color;
  } else {
    colors_.erase(window);
  }
  ::InvalidateRect(window, nullptr, TRUE);
}

void DialogWindow::DrawList(const ListViewControl& list) {
  // Items show the large or the small picture by the mode: a new mode draws them again.
  bool drawItems = listShown_ != list.Items;
  if (modeShown_ != list.View) {
    const LONG_PTR style = ::GetWindowLongPtrW(list_, GWL_STYLE);
    ::SetWindowLongPtrW(list_, GWL_STYLE,
                        (style & ~LONG_PTR(LVS_TYPEMASK)) | LONG_PTR(ListStyle(list.View)));
    modeShown_ = list.View;
    drawItems = true;
  }
  if (drawItems) {
    ::SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
    for (std::size_t index = 0; index < list.Items.size(); ++index) {
      const ListItem& shown = list.Items[index];
      std::wstring text = ToWide(shown.Text);
      LVITEMW item{};
      item.mask = LVIF_TEXT | LVIF_IMAGE;
      item.iItem = int(index);
      item.pszText = text.data();
      item.iImage = (list.View == ListViewMode::Icons ? shown.Icon : shown.SmallIcon) - 1;
      ::SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    listShown_ = list.Items;
  }
  const auto selected = int(::SendMessageW(list_, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
  const int wanted = list.HasSelection() ? list.SelectedIndex : -1;
  if (selected != wanted) {
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = 0;
    ::SendMessageW(list_, LVM_SETITEMSTATE, WPARAM(-1), reinterpret_cast<LPARAM>(&state));
    if (wanted >= 0) {
      state.state = LVIS_SELECTED | LVIS_FOCUSED;
      ::SendMessageW(list_, LVM_SETITEMSTATE, WPARAM(wanted), reinterpret_cast<LPARAM>(&state));
    }
  }
  DrawControl(list_, list);
}

// Moves the keyboard focus to the control the dialog asked for, once for each time it asked.
void DialogWindow::DrawFocus(const OpenDialog& dialog) {
  if (dialog.FocusCount == focusDrawn_) {
    return;
  }
  focusDrawn_ = dialog.FocusCount;
  for (const Bound& bound : bound_) {
    if (&bound.control(dialog) == dialog.FocusControl) {
      ::SetFocus(bound.window);
    }
  }
}

void DialogWindow::Draw(const OpenDialog& dialog) {
  drawing_ = true;
  SetText(window_, dialog.Caption);
  if (!(formColor_ == dialog.BackColor)) {
    formColor_ = dialog.BackColor;
    ::InvalidateRect(window_, nullptr, TRUE);
  }
  if (::SendMessageW(tabStrip_, TCM_GETCURSEL, 0, 0) != dialog.TabStrip.SelectedTab - 1) {
    ::SendMessageW(tabStrip_, TCM_SETCURSEL, WPARAM(dialog.TabStrip.SelectedTab - 1), 0);
  }
  ::EnableWindow(tabStrip_, dialog.TabStrip.Enabled);
  ::SetMenu(window_, dialog.menuData.Visible ? menuBar_ : nullptr);
  for (const Bound& bound : bound_) {
    bound.draw(dialog);
  }
  DrawFocus(dialog);
  // Enter runs the action of the tab in front: Login on the connection tab.
  const bool connecting = dialog.ConnectionFrame.Visible;
  const HWND login = ControlWindow("LogInButton");
  const HWND open = ControlWindow("OpenButton");
  ::SendMessageW(login, BM_SETSTYLE, connecting ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
  ::SendMessageW(open, BM_SETSTYLE, connecting ? BS_PUSHBUTTON : BS_DEFPUSHBUTTON, TRUE);
  defaultButton_ = ::GetDlgCtrlID(connecting ? login : open);
  drawing_ = false;
}

void DialogWindow::PopupViewMenu(OpenDialog& dialog, int x, int y) {
  Draw(dialog);
  const HMENU menu = ::CreatePopupMenu();
  const auto rows = ViewMenuRows();
  for (std::size_t index = 0; index < rows.size(); ++index) {
    const MenuItem& item = dialog.*rows[index].item;
    if (item.Visible) {
      ::AppendMenuW(
          menu,
          MF_STRING | (item.Checked ? UINT(MF_CHECKED) : 0) | (item.Enabled ? 0 : UINT(MF_GRAYED)),
          index + 1, ToWide(item.Caption).c_str());
    }
  }
  POINT at{ToPixels(x, dpi_), ToPixels(y, dpi_)};
  ::ClientToScreen(window_, &at);
  const int chosen = ::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN, at.x,
                                      at.y, 0, window_, nullptr);
  ::DestroyMenu(menu);
  if (chosen > 0) {
    (dialog.*rows[std::size_t(chosen - 1)].click)();
  }
}

void DialogWindow::ClickImageFromKeyboard(const char* name) {
  const HWND button = ControlWindow(name);
  if (::IsWindowEnabled(button) && ::IsWindowVisible(button)) {
    ImageButtonWindow::Of(button)->ClickFromKeyboard();
  }
}

void DialogWindow::ShowModal(const std::function<bool()>& done) {
  if (const HWND active = ::GetActiveWindow(); active != nullptr && active != window_) {
    ::SetWindowLongPtrW(window_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(active));
  }
  CentreOnOwner(window_);
  RunModal(window_, done, [this](const MSG& message) {
    if (message.message == WM_KEYDOWN && message.wParam == VK_F5 &&
        (message.hwnd == window_ || ::IsChild(window_, message.hwnd))) {
      ClickImageFromKeyboard("ReloadImage");
      return true;
    }
    return false;
  });
}

void DialogWindow::End() {
  ::ShowWindow(window_, SW_HIDE);
}

}  // namespace penlark::win32
